#pragma once

#include "platform/text_codec.h"

// Code page 932 through Qt's "windows-31j" converters (ICU).
class QtTextCodec final : public TextCodec {
  protected:
    std::optional<std::string> encodeExactly(std::u16string_view text) const override;
    std::optional<std::u16string> decodeExactly(std::string_view bytes) const override;
};
