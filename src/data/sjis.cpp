#include "data/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace sjis {

namespace {
constexpr const char* kCodecName = "windows-31j";
}

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t charLengthAt(std::string_view text, std::size_t offset) {
    if (offset + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[offset]))) {
        return 2;
    }
    return 1;
}

std::size_t charCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += charLengthAt(text, i)) {
        ++count;
    }
    return count;
}

std::string leftChars(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end < text.size(); ++n) {
        end += charLengthAt(text, end);
    }
    return std::string(text.substr(0, end));
}

std::string fromUnicode(const QString& text, QString* unmappable) {
    QStringEncoder whole(kCodecName);
    const QByteArray bytes = whole.encode(text);
    if (!whole.hasError()) {
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    // Encode one code point at a time to find the failures: the codec reports an error but not where, and
    // its error flag stays set, so each code point gets a fresh encoder.
    std::string result;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString codePoint = text.mid(i, length);
        i += length;
        QStringEncoder encoder(kCodecName);
        const QByteArray encoded = encoder.encode(codePoint);
        if (encoder.hasError() || encoded.isEmpty() || codePoint.at(0).isSurrogate()) {
            if (unmappable != nullptr && !unmappable->contains(codePoint)) {
                unmappable->append(codePoint);
            }
            continue;
        }
        result.append(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    }
    return result;
}

namespace {
bool isSingleByteCharacter(unsigned char byte) {
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}
bool isTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}
}  // namespace

QString toUnicode(std::string_view bytes) {
    // Decoded character by character, so every broken or unassigned sequence becomes exactly one U+FFFD
    // instead of being dropped or swallowing its neighbours.
    QString result;
    result.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            result.append(QLatin1Char(static_cast<char>(byte)));
            ++i;
            continue;
        }
        std::size_t length = 0;
        if (isSingleByteCharacter(byte)) {
            length = 1;
        } else if (isLeadByte(byte) && i + 1 < bytes.size() &&
                   isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            length = 2;
        }
        if (length == 0) {
            result.append(QChar(QChar::ReplacementCharacter));
            ++i;
            continue;
        }
        QStringDecoder decoder(kCodecName);
        const QString decoded =
            decoder.decode(QByteArrayView(bytes.data() + i, static_cast<qsizetype>(length)));
        result.append(decoded.isEmpty() || decoder.hasError() ? QString(QChar(QChar::ReplacementCharacter))
                                                              : decoded);
        i += length;
    }
    return result;
}

std::string fromUtf8(std::string_view utf8) {
    return fromUnicode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace sjis
