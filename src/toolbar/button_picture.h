#pragma once

#include "toolbar/geometry.h"

// The states a button's picture may hold side by side, in this order.
enum class ButtonPictureState { Up = 0, Disabled = 1, Pressed = 2, Down = 3 };

// The part of a picture that shows the given state: a picture 2, 3 or 4 times as wide as high holds that many
// square states side by side; any other picture serves every state whole. A state the picture does not hold
// shows the up state.
Rect StatePictureRect(Size pictureSize, ButtonPictureState state);
