#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <optional>
#include <vector>

// Answers questions from a script and records every request, in order. An unscripted question gets the
// standing answer when one is given, else the request's escape answer, as if the user pressed Escape.
class ScriptedDialogs final : public Dialogs {
  public:
    ScriptedDialogs() = default;
    explicit ScriptedDialogs(DialogAnswer standingAnswer) : standingAnswer_(standingAnswer) {}

    void answerNext(DialogAnswer answer) { script_.push_back(answer); }

    DialogAnswer ask(const DialogRequest& request) override {
        asked.push_back(request);
        askedBy.push_back(askingWindow());
        if (script_.empty()) {
            return standingAnswer_.value_or(request.escapeAnswer);
        }
        const DialogAnswer answer = script_.front();
        script_.pop_front();
        return answer;
    }

    std::vector<DialogRequest> asked;
    std::vector<AskingWindow> askedBy;  // the asking window of each request, in the same order

  private:
    std::deque<DialogAnswer> script_;
    std::optional<DialogAnswer> standingAnswer_;
};
