#include "toolbar/delivery_ports.h"

#include "platform/clipboard.h"

const char* DeliveryResultName(DeliveryResult result) {
    switch (result) {
        case DeliveryResult::Sent:
            return "sent";
        case DeliveryResult::NoWindowBelow:
            return "no window below";
        case DeliveryResult::TargetNotActive:
            return "the window below did not become active";
        case DeliveryResult::ModifiersHeld:
            return "a modifier key stayed held";
        case DeliveryResult::KeyFailed:
            return "a key could not be sent";
        case DeliveryResult::NotLastActive:
            return "the window below is not the one last active";
        case DeliveryResult::RemoteControlGone:
            return "the desktop's remote control went away";
        case DeliveryResult::NoActiveWindowNamed:
            return "the desktop names no active window";
        case DeliveryResult::ActiveWindowIsOurs:
            return "the active window is one of ours";
        case DeliveryResult::WindowsDisagree:
            return "the X11 window last active is not the window the compositor names";
        case DeliveryResult::FocusLost:
            return "the window below lost the focus";
        case DeliveryResult::ClipboardNotOwned:
            return "another program owns the clipboard";
        case DeliveryResult::ConsentAsked:
            return "the desktop's consent was asked, to be kept for later runs";
        case DeliveryResult::ConsentAskedThisRun:
            return "the desktop's consent was asked, for this run";
        case DeliveryResult::ConsentResuming:
            return "the consent kept from before is still being restored";
        case DeliveryResult::SessionStarting:
            return "the desktop's remote control, which asks nothing, is still starting";
        case DeliveryResult::ConsentPending:
            return "the desktop's consent dialog is still open";
        case DeliveryResult::ConsentRefused:
            return "the desktop's consent was refused in this run";
        case DeliveryResult::SessionLost:
            return "the desktop's remote control went away while it was being restored";
        case DeliveryResult::CompositorDidNotTake:
            return "the compositor did not take the new clipboard in time";
        case DeliveryResult::PasteUnconfirmed:
            return "no program fetched the pasted text, so no key followed";
        case DeliveryResult::PasteNotFetched:
            return "no program fetched the pasted text";
        case DeliveryResult::PastedForInputMethod:
            return "pasted instead of typed: the target's input method was on and could not be turned off";
    }
    return "?";
}

DeliveryResult DeliveryResultOf(ChordResult result) {
    switch (result) {
        case ChordResult::Sent:
            return DeliveryResult::Sent;
        case ChordResult::FocusLost:
            return DeliveryResult::FocusLost;
        case ChordResult::KeyFailed:
            return DeliveryResult::KeyFailed;
    }
    return DeliveryResult::KeyFailed;
}

bool ClipboardStillOurs(const DeliveryPorts& ports) {
    return ports.clipboard == nullptr || ports.clipboard->ownsText();
}
