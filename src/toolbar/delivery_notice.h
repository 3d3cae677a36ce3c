#pragma once

#include "toolbar/delivery.h"

#include <string>

// Which toolbar action a delivery result comes from: a field click has already put its text on the
// clipboard, the Next button has copied nothing.
enum class DeliveryAction { Paste, NextKey };

// The short notice (Shift-JIS) that tells the user why nothing reached the window below; empty for Sent.
std::string DeliveryNoticeText(DeliveryResult result, DeliveryAction action);
