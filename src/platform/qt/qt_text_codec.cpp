#include "platform/qt/qt_text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char* kCodecName = "windows-31j";

// What ICU puts in place of a sequence it cannot decode, should it not flag the error.
bool holdsSubstitute(const QString& text, std::string_view bytes) {
    return text.contains(QChar(QChar::ReplacementCharacter)) ||
           (text.contains(QChar(0x1A)) && bytes.find('\x1A') == std::string_view::npos);
}

}  // namespace

std::optional<std::string> QtTextCodec::encodeExactly(std::u16string_view text) const {
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QStringView(text.data(), static_cast<qsizetype>(text.size())));
    if (!encoder.isValid() || encoder.hasError() || bytes.isEmpty()) {
        return std::nullopt;
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<std::u16string> QtTextCodec::decodeExactly(std::string_view bytes) const {
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!decoder.isValid() || decoder.hasError() || text.isEmpty() || holdsSubstitute(text, bytes)) {
        return std::nullopt;
    }
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

std::unique_ptr<TextCodec> makePlatformTextCodec() {
    return std::make_unique<QtTextCodec>();
}
