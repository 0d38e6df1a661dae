// Texts of the program as the toolkit takes them: UTF-8, or bytes of the Western code page
// that no reader has decoded (the key's ID and password).
#pragma once

#include "platform/TextCodec.h"

#include <QString>

#include <string>
#include <string_view>

namespace lorvenna {

inline QString toQString(std::string_view text) {
    // Most texts are plain ASCII, which the quickest conversion takes as it is.
    if (isAscii(text))
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (isValidUtf8(text))
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const std::string decoded = westernToUtf8(text);
    return QString::fromUtf8(decoded.data(), static_cast<qsizetype>(decoded.size()));
}

inline std::string fromQString(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace lorvenna
