#include "toolbar/toolbar_behaviour.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "data/utf.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/error_report.h"
#include "platform/log.h"
#include "platform/native_keyboard.h"
#include "platform/platform_services.h"
#include "settings/settings_file.h"
#include "toolbar/button_actions.h"
#include "toolbar/delivery_routes.h"
#include "toolbar/toolbar_view.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <utility>

namespace {

constexpr int kMaleFace = 2;
constexpr int kFemaleFace = 15;

// How long after a paste a new text waits for the window to read the pasted one. A window reads it within a
// few tens of milliseconds of the Ctrl+V; 200 ms covers a busy one and is not felt between two clicks, the
// only time it is waited for.
constexpr std::chrono::milliseconds kPasteReadGrace{200};

// Whether a window read the text after the first `seen` requests for it.
bool TextReadAfter(const std::vector<ClipboardRequest>& requests, std::size_t seen) {
    return std::any_of(
        requests.begin() + static_cast<std::ptrdiff_t>(std::min(seen, requests.size())), requests.end(),
        [](const ClipboardRequest& request) { return request.kind == ClipboardRequest::Kind::Text; });
}

std::string programCaption() {
    return sjis::fromUtf8("Zenporo！");
}

}  // namespace

ToolbarServices MakeToolbarServices(PlatformServices& platform, std::function<WindowHandle()> toolbarWindow) {
    ToolbarServices services;
    services.dialogs = platform.dialogs.get();
    services.log = platform.log.get();
    services.clipboard = platform.clipboard.get();
    services.userFileFolder = UserFileFolder();
    services.clock = platform.clock.get();
    std::optional<DeliveryPorts> ports;
    if (platform.windowOrder && platform.keyInput) {
        ports.emplace(DeliveryPorts{*platform.windowOrder, *platform.keyInput, *platform.sleeper,
                                    *platform.clock, platform.log.get(), platform.nativeKeyboard.get(),
                                    platform.clipboard.get(), platform.seatKeyboard.get(),
                                    platform.nativeClipboard.get(), platform.desktopWindow.get()});
    }
    const auto routes = std::make_shared<DeliveryRoutes>(ports ? &*ports : nullptr);
    if (platform.log) {
        platform.log->write(LogCategory::Delivery, routes->describe());
    }
    // Without a window system to reach, a click only copies, with no notice.
    if (routes->current().route() != Route::CopyOnly) {
        services.pasteIntoWindowBelow = [routes, toolbarWindow](const ToolbarSettings& settings,
                                                                bool replace) {
            return PasteIntoWindowBelow(settings, toolbarWindow(), *routes, replace);
        };
        services.pressNextKey = [routes, toolbarWindow](const ToolbarSettings& settings) {
            return PressNextKeyInWindowBelow(settings, toolbarWindow(), *routes);
        };
        services.typeIntoWindowBelow = [routes, toolbarWindow](const ToolbarSettings& settings,
                                                               std::u32string_view text) {
            return TypeIntoWindowBelow(text, settings, toolbarWindow(), *routes);
        };
        services.giveKeyboardBack = [routes] { routes->current().giveKeyboardBack(); };
        services.nativeKeyboard = platform.nativeKeyboard.get();
    }
    return services;
}

ToolbarBehaviour::ToolbarBehaviour(ToolbarServices services, ToolbarView& view)
    : services_(std::move(services)),
      view_(view),
      applicationTitle_(programCaption()),
      hints_(LayoutHints()),
      user_(*services_.dialogs, CurrentUser::Hooks{
                                    [this](const std::string& caption) { setCaptionAndTitle(caption); },
                                    [this] { UpdateNameFace(); },
                                    [this] { UpdateHints(); },
                                    [this] { return applicationTitle_; },
                                    [this] { return services_.today(); },
                                }),
      clock_(services_.clock != nullptr ? *services_.clock : systemClock_),
      clickGate_(services_.doubleClickTime) {
    if (services_.nativeKeyboard != nullptr) {
        NativeKeyboard* const native = services_.nativeKeyboard;
        native->setChangeListener([this, native](NativeKeyboard::Change change) {
            // A change during a click's own wait is told with that click's notice.
            if (delivering_) {
                changeDuringClick_ = change;
                return;
            }
            view_.showDeliveryNotice(ConsentChangeNoticeText(change, native->hasKeptConsent()));
        });
    }
}

ToolbarBehaviour::~ToolbarBehaviour() {
    if (services_.nativeKeyboard != nullptr) {
        services_.nativeKeyboard->setChangeListener({});
    }
}

void ToolbarBehaviour::showLayoutState() {
    view_.setCaptionAndTitle(applicationTitle_);
    ApplyButtonFaces();
    UpdateHints();
}

void ToolbarBehaviour::setCaptionAndTitle(const std::string& caption) {
    applicationTitle_ = caption;
    view_.setCaptionAndTitle(caption);
}

void ToolbarBehaviour::FormCreate() {
    buttonImagePaths_.clear();
    settingsFile_ = services_.userFileFolder + "Zenpad.ini";
    SettingsFileContents contents;
    // Each value takes effect as soon as it is read, so a read that fails midway keeps what came before.
    const bool complete =
        ReadSettingsFile(settingsFile_, contents, [this](SettingsKey key, const SettingsFileContents& read) {
            settings_ = read.settings;
            buttonImagePaths_ = read.ButtonImagePaths;
            if (key == SettingsKey::BtnDown) {
                view_.setOpen(read.BtnDown);
            } else if (key == SettingsKey::Left || key == SettingsKey::Top) {
                view_.moveFrame({read.Left, read.Top});
            }
        });
    if (!complete) {
        log("the settings file could not be read, the rest keeps its defaults: " + settingsFile_);
        return;
    }
    rebuildFaces();
    chooseFirstUserFile();
}

void ToolbarBehaviour::chooseFirstUserFile() {
    const UserFileSearch found = FindUserFiles(services_.userFileFolder, services_.log);
    if (found.count == 0) {
        view_.openUserFileEditor();
    } else if (found.count == 1) {
        user_.makeCurrent(found.firstPath);
        UpdateNameFace();
    } else {
        view_.openUserFileList();
    }
}

void ToolbarBehaviour::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    try {
        writeSettings();
    } catch (const AppError& error) {
        log("the settings file could not be written: " + settingsFile_);
        ShowErrorReport(*services_.dialogs, error.message(), applicationTitle_);
    }
}

void ToolbarBehaviour::keepSettings() {
    try {
        writeSettings();
    } catch (const AppError&) {
        // Reported by FormDestroy at the end of the run, if it comes.
    }
}

void ToolbarBehaviour::writeSettings() const {
    SettingsFileContents contents;
    contents.settings = settings_;
    contents.BtnDown = view_.isOpen();
    const Point position = view_.framePosition();
    contents.Left = position.x;
    contents.Top = position.y;
    contents.ButtonImagePaths = buttonImagePaths_;
    WriteSettingsFile(settingsFile_, contents);
}

void ToolbarBehaviour::SpeedButton7Click(ClickSender sender, int tag, std::optional<MenuItemId> item,
                                         TextEntry entry) {
    try {
        Composition composition = ComposeFieldText(sender, tag, item, user_.record(), services_.today());
        composition.text = InTextWidth(composition.text, textWidth_, WidthScopeOf(sender, tag, item));
        switch (composition.kind) {
            case Composition::Kind::NoUserFileNotice:
            case Composition::Kind::InvalidBirthDate:
                services_.dialogs->ask(informationNotice(composition.text));
                return;
            case Composition::Kind::SilentStop:
                return;
            case Composition::Kind::Text:
                break;
        }
        if (composition.text.empty()) {
            return;
        }
        letLastPasteBeFetched();
        if (services_.clipboard == nullptr || !services_.clipboard->setText(composition.text)) {
            throw cannotOpenClipboard();
        }
        if (!settings_.PasteOK || !services_.pasteIntoWindowBelow) {
            giveKeyboardBack();
            return;
        }
        if (entry == TextEntry::Type && services_.typeIntoWindowBelow) {
            const std::u32string text = utf::toCodePoints(
                sjis::toUnicode(composition.typed.empty() ? composition.text : composition.typed));
            TypingOutcome typed{DeliveryResult::Sent};
            runDelivery([&] { typed = services_.typeIntoWindowBelow(settings_, text); });
            if (typed.pasted) {
                rememberPaste();
            }
            showNotice(TypingNoticeText(typed, text));
            return;
        }
        // Another program may have taken the clipboard at once: a paste would bring its text.
        if (!services_.clipboard->ownsText()) {
            giveKeyboardBack();
            showDeliveryNotice(DeliveryResult::ClipboardNotOwned, DeliveryAction::Paste);
            return;
        }
        DeliveryResult pasted = DeliveryResult::Sent;
        runDelivery([&] { pasted = services_.pasteIntoWindowBelow(settings_, entry == TextEntry::Replace); });
        rememberPaste();
        showDeliveryNotice(pasted, DeliveryAction::Paste);
    } catch (const AppError& error) {
        ShowErrorReport(*services_.dialogs, error.message(), applicationTitle_);
    }
}

void ToolbarBehaviour::SpeedButton18Click() {
    if (services_.pressNextKey) {
        DeliveryResult pressed = DeliveryResult::Sent;
        runDelivery([&] { pressed = services_.pressNextKey(settings_); });
        showDeliveryNotice(pressed, DeliveryAction::NextKey);
    }
}

void ToolbarBehaviour::keyButtonClick(int number, int tag, InputEventTime eventTime, TextEntry entry) {
    const ButtonAction action = ButtonActionOf(number);
    if (!SendsKeys(action)) {
        return;
    }
    const SteadyClock::time_point now = clock_.now();
    const ClickGate::Verdict verdict =
        clickGate_.admit(number, eventTime ? inputTimes_.madeAt(*eventTime, now) : now);
    // Only a loop that served the user's input inside a delivery could bring a click now; it cannot wait.
    if (verdict != ClickGate::Verdict::Run || delivering_) {
        logClickLetGo(number, delivering_ ? std::nullopt : std::optional(verdict));
        return;
    }
    if (action == ButtonAction::PressNextKey) {
        SpeedButton18Click();
    } else {
        SpeedButton7Click(ClickSender::FieldButton, tag, std::nullopt, entry);
    }
}

void ToolbarBehaviour::logClickLetGo(int number, std::optional<ClickGate::Verdict> verdict) const {
    if (services_.log == nullptr) {
        return;
    }
    const std::string button = "SpeedButton" + std::to_string(number);
    std::string line = "a click on " + button + " came during a delivery and was let go";
    if (verdict == ClickGate::Verdict::DoubleClick) {
        line = "a second click on " + button + " within the double-click time (" +
               std::to_string(services_.doubleClickTime.count()) + " ms) was let go";
    } else if (verdict == ClickGate::Verdict::AnotherWaited) {
        line = "a click on " + button + " made during a delivery was let go: an earlier click made then ran";
    }
    services_.log->write(LogCategory::Delivery, line);
}

void ToolbarBehaviour::giveKeyboardBack() {
    if (services_.giveKeyboardBack) {
        services_.giveKeyboardBack();
    }
}

void ToolbarBehaviour::runDelivery(const std::function<void()>& delivery) {
    // The click rule knows when every delivery ran, however it ended.
    struct Running {
        ToolbarBehaviour& toolbar;
        explicit Running(ToolbarBehaviour& t) : toolbar(t) {
            toolbar.delivering_ = true;
            toolbar.clickGate_.deliveryStarted(toolbar.clock_.now());
        }
        ~Running() {
            toolbar.clickGate_.deliveryEnded(toolbar.clock_.now());
            toolbar.delivering_ = false;
        }
    } running(*this);
    delivery();
}

void ToolbarBehaviour::rememberPaste() {
    lastPaste_ = Paste{clock_.now(), services_.clipboard->requestsSinceSet().size()};
}

void ToolbarBehaviour::letLastPasteBeFetched() {
    const std::optional<Paste> paste = std::exchange(lastPaste_, std::nullopt);
    if (!paste || !services_.waitServingEvents || services_.clipboard == nullptr) {
        return;
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(kPasteReadGrace - (clock_.now() - paste->at));
    if (left <= std::chrono::milliseconds::zero()) {
        return;
    }
    services_.waitServingEvents(left, [this, &paste] {
        return TextReadAfter(services_.clipboard->requestsSinceSet(), paste->requestsBefore);
    });
}

void ToolbarBehaviour::showDeliveryNotice(DeliveryResult result, DeliveryAction action) {
    showNotice(DeliveryNoticeText(result, action));
}

void ToolbarBehaviour::showNotice(std::string text) {
    // The click's result says what became of the consent it asked for; a session that ended or a service
    // that failed meanwhile changes what the next click does, which the result alone does not tell.
    using Change = NativeKeyboard::Change;
    const std::optional<Change> change = std::exchange(changeDuringClick_, std::nullopt);
    if (change && *change != Change::Allowed && *change != Change::Refused &&
        *change != Change::NotHonoured) {
        text += ConsentChangeNoticeText(*change, services_.nativeKeyboard->hasKeptConsent());
    }
    if (!text.empty()) {
        view_.showDeliveryNotice(text);
    }
}

void ToolbarBehaviour::SpeedButton3Click() {
    view_.setOpenButtonHint(sjis::fromUtf8(view_.isOpen() ? "ボタンを閉じる" : "ボタンを開く"));
    ArrangeButtons();
}

void ToolbarBehaviour::ChangeBtnClick() {
    settings_.FrmStyle = !settings_.FrmStyle;
    ArrangeButtons();
}

void ToolbarBehaviour::ArrangeButtons() {
    view_.arrangeButtons(settings_.FrmStyle);
}

void ToolbarBehaviour::ApplyButtonFaces() {
    view_.applyButtonFaces();
}

void ToolbarBehaviour::rebuildFaces() {
    // Built-in faces are not decoded a second time when no path names a bitmap of the user's.
    const bool builtInOnly =
        std::ranges::all_of(buttonImagePaths_, [](const std::string& path) { return path.empty(); });
    if (!builtInOnly || !facesAreBuiltIn_) {
        view_.loadFaces(buttonImagePaths_);
        facesAreBuiltIn_ = builtInOnly;
    }
    ApplyButtonFaces();
}

void ToolbarBehaviour::UpdateNameFace() {
    const NameFaceChoice choice = ChooseNameFace(user_.record());
    if (choice == NameFaceChoice::Unchanged) {
        return;
    }
    const int face = choice == NameFaceChoice::Female ? kFemaleFace : kMaleFace;
    view_.showNameFace(face);
    if (choice != NameFaceChoice::DefaultFaceOnly) {
        view_.setFullNameMenuPicture(face);
    }
}

void ToolbarBehaviour::UpdateHints() {
    TakeRecordIntoHints(user_.record(), hints_, services_.today());
    view_.showHints(hints_);
}

void ToolbarBehaviour::log(const std::string& utf8Message) const {
    if (services_.log != nullptr) {
        services_.log->write(LogCategory::Settings, utf8Message);
    }
}
