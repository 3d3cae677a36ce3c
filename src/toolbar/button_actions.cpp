#include "toolbar/button_actions.h"

#include <array>
#include <cstddef>
#include <stdexcept>

namespace {

using A = ButtonAction;

// By number: the change bar, the three control buttons, then SpeedButton4 to SpeedButton18.
constexpr std::array<ButtonAction, kLastButtonNumber + 1> kActions{
    A::FlipArrangement, A::OpenUserFileList, A::Minimize,     A::ToggleFieldRow, A::ComposeField,
    A::ComposeField,    A::ComposeField,     A::ComposeField, A::ComposeField,   A::ComposeField,
    A::ComposeField,    A::ComposeField,     A::ComposeField, A::ComposeField,   A::ComposeField,
    A::OpenSettings,    A::OpenHelpMenu,     A::ComposeField, A::PressNextKey,
};

}  // namespace

ButtonAction ButtonActionOf(int number) {
    if (number < kChangeBarNumber || number > kLastButtonNumber) {
        throw std::out_of_range("not a button of the toolbar");
    }
    return kActions[static_cast<std::size_t>(number)];
}
