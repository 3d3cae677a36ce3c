#include "toolbar/delivery_steps.h"

#include "toolbar/clipboard_handoff.h"
#include "toolbar/delivery_timing.h"

#include <algorithm>

PasteOutcome CtrlVThenKey(const PasteKeys& keys, const SendChord& send, const FetchWatch* watch,
                          std::size_t seenBeforePaste, SteadyClock& clock) {
    const std::optional<Key>& after = keys.after;
    if (keys.replace) {
        if (const DeliveryResult selected = send({Key::Control, Key::A}); selected != DeliveryResult::Sent) {
            return {selected, {}};
        }
    }
    const SteadyClock::time_point begin = clock.now();
    // Ctrl is released before V; V is never pressed without Ctrl, which would type a "v".
    const DeliveryResult pasted = send({Key::Control, Key::V});
    if (pasted != DeliveryResult::Sent) {
        return {pasted, {}};
    }
    PasteOutcome outcome;
    if (watch != nullptr) {
        const bool fetched = watch->waitServingEvents(delivery_timing::kPasteFetchTimeout, [&] {
            return PasteFetchedText(watch->requests(), seenBeforePaste);
        });
        if (!fetched) {
            return {after ? DeliveryResult::PasteUnconfirmed : DeliveryResult::PasteNotFetched, {}};
        }
        outcome.fetchedAfter = MillisecondsSince(begin, clock);
    }
    if (after) {
        outcome.result = send({*after});
    }
    return outcome;
}

std::size_t RequestsBeforePaste(const FetchWatch& watch, bool& managerReads) {
    const auto textReads = [&watch] {
        const std::vector<ClipboardRequest> requests = watch.requests();
        return std::count_if(requests.begin(), requests.end(), [](const ClipboardRequest& request) {
            return request.byCompositor && request.kind == ClipboardRequest::Kind::Text;
        });
    };
    if (managerReads) {
        watch.waitServingEvents(delivery_timing::kCompositorTakeTimeout, [&] { return textReads() > 0; });
    }
    managerReads = managerReads || textReads() > 0;
    return watch.requests().size();
}

TypingOutcome TypeCharacters(std::u32string_view text, KeyInput& keys,
                             const std::function<bool()>& stillTarget, Sleeper& sleeper,
                             bool fieldsMoveOnTheirOwn) {
    TypingOutcome outcome{DeliveryResult::Sent, 0, text.size()};
    while (outcome.typed < text.size() && outcome.result == DeliveryResult::Sent) {
        if (text[outcome.typed] == U'\t') {
            if (!fieldsMoveOnTheirOwn) {
                outcome.result = DeliveryResultOf(keys.sendChord({Key::Tab}, stillTarget));
                sleeper.sleep(delivery_timing::kTypingPace);
            }
            outcome.typed += outcome.result == DeliveryResult::Sent ? 1 : 0;
            continue;
        }
        const std::u32string_view run =
            text.substr(outcome.typed, text.find(U'\t', outcome.typed) - outcome.typed);
        const std::size_t ready = keys.prepareToType(run);
        if (ready == 0) {
            outcome.result = DeliveryResult::KeyFailed;
        }
        for (const char32_t character : run.substr(0, ready)) {
            if (!stillTarget()) {
                outcome.result = DeliveryResult::FocusLost;
                break;
            }
            if (!keys.typeCharacter(character)) {
                outcome.result = DeliveryResult::KeyFailed;
                break;
            }
            ++outcome.typed;
            sleeper.sleep(delivery_timing::kTypingPace);
        }
    }
    keys.finishTyping();
    return outcome;
}

bool DateFieldsMoveOnTheirOwn(std::string_view windowClass) {
    std::string lower(windowClass);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower.find("firefox") != std::string::npos ||
           lower.find("mozillawindowclass") != std::string::npos;
}

std::string MillisecondsSince(SteadyClock::time_point from, SteadyClock& clock) {
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(clock.now() - from).count()) +
           " ms";
}
