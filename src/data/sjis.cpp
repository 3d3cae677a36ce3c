#include "data/sjis.h"

#include "data/jis_aliases.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

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

namespace {

void noteUnmappable(QString* unmappable, const QString& codePoint) {
    if (unmappable != nullptr && !unmappable->contains(codePoint)) {
        unmappable->append(codePoint);
    }
}

// Whether the codec stores codePoint as bytes that read back as the same code point. Characters it only
// approximates (such as U+00A5 stored as a backslash) would change on the way and count as unstorable.
std::optional<QByteArray> encodeExactly(const QString& codePoint) {
    QStringEncoder encoder(kCodecName);
    QByteArray encoded = encoder.encode(codePoint);
    if (encoder.hasError() || encoded.isEmpty()) {
        return std::nullopt;
    }
    QStringDecoder decoder(kCodecName);
    const QString decoded = decoder.decode(encoded);
    if (decoder.hasError() || decoded != codePoint) {
        return std::nullopt;
    }
    return encoded;
}

// Encodes a run of non-ASCII characters (surrogates only in pairs), whole when it round-trips, else one
// code point at a time so that exactly the unstorable ones are left out.
void encodeRun(const QString& run, std::string& result, QString* unmappable) {
    QStringEncoder whole(kCodecName);
    const QByteArray bytes = whole.encode(run);
    if (!whole.hasError()) {
        QStringDecoder check(kCodecName);
        if (check.decode(bytes) == run && !check.hasError()) {
            result.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            return;
        }
    }
    for (qsizetype i = 0; i < run.size();) {
        const qsizetype length = run.at(i).isHighSurrogate() ? 2 : 1;
        const QString codePoint = run.mid(i, length);
        i += length;
        if (const auto encoded = encodeExactly(codePoint)) {
            result.append(encoded->constData(), static_cast<std::size_t>(encoded->size()));
        } else {
            noteUnmappable(unmappable, codePoint);
        }
    }
}

}  // namespace

std::string fromUnicode(const QString& text, QString* unmappable) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    QString run;
    const auto flush = [&] {
        if (!run.isEmpty()) {
            encodeRun(run, result, unmappable);
            run.clear();
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Below 0x80 every character is its own byte; the codec would swap some control codes.
        if (c.unicode() < 0x80) {
            flush();
            result += static_cast<char>(c.unicode());
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            run += c;
            run += text.at(++i);
            continue;
        }
        if (c.isSurrogate()) {
            // A lone half of a pair is no character; the codec would drop it silently.
            flush();
            noteUnmappable(unmappable, QString(c));
            continue;
        }
        run += QChar(StoredFormOf(c.unicode()));
    }
    flush();
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

namespace {

// The length of the well-formed non-ASCII character at offset (1 or 2), 0 for a broken byte.
std::size_t wellFormedLengthAt(std::string_view bytes, std::size_t offset) {
    const auto byte = static_cast<unsigned char>(bytes[offset]);
    if (isSingleByteCharacter(byte)) {
        return 1;
    }
    if (isLeadByte(byte) && offset + 1 < bytes.size() &&
        isTrailByte(static_cast<unsigned char>(bytes[offset + 1]))) {
        return 2;
    }
    return 0;
}

// Decodes well-formed non-ASCII characters in one go; when the codec finds an unassigned one among them,
// again one by one, so that exactly that one becomes U+FFFD.
void decodeRun(std::string_view run, QString& result) {
    QStringDecoder whole(kCodecName);
    const QString decoded = whole.decode(QByteArrayView(run.data(), static_cast<qsizetype>(run.size())));
    if (!whole.hasError()) {
        result.append(decoded);
        return;
    }
    for (std::size_t i = 0; i < run.size();) {
        const std::size_t length = wellFormedLengthAt(run, i);
        QStringDecoder decoder(kCodecName);
        const QString one = decoder.decode(QByteArrayView(run.data() + i, static_cast<qsizetype>(length)));
        result.append(one.isEmpty() || decoder.hasError() ? QString(QChar(QChar::ReplacementCharacter))
                                                          : one);
        i += length;
    }
}

}  // namespace

QString toUnicode(std::string_view bytes) {
    // Every broken or unassigned sequence becomes exactly one U+FFFD instead of being dropped or swallowing
    // its neighbours; bytes below 0x80 are their own character.
    QString result;
    result.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            result.append(QLatin1Char(static_cast<char>(byte)));
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80) {
            const std::size_t length = wellFormedLengthAt(bytes, end);
            if (length == 0) {
                break;
            }
            end += length;
        }
        if (end == i) {
            result.append(QChar(QChar::ReplacementCharacter));
            ++i;
            continue;
        }
        decodeRun(bytes.substr(i, end - i), result);
        i = end;
    }
    return result;
}

std::string fromUtf8(std::string_view utf8) {
    return fromUnicode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace sjis
