// Texts from key disks made safe for spreadsheets, terminals and web pages.
#include "tools/grades/SafeText.h"

#include "platform/TextCodec.h"

#include <cstdio>

namespace lorvenna {

std::string csvCell(std::string_view text) {
    std::string cell(text);
    if (!cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos)
        cell.insert(cell.begin(), '\'');
    if (cell.find_first_of(",\"\r\n") == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (char c : cell) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string shownText(std::string_view text) {
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            shown += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown;
}

std::string htmlText(std::string_view text) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
    const std::string decoded = decodeText(text);
    std::string html;
    for (std::size_t at = 0; at < decoded.size(); ++at) {
        const auto byte = static_cast<unsigned char>(decoded[at]);
        // C1 controls (U+0080..U+009F) are C2 80..C2 9F in UTF-8.
        if (byte == 0xC2 && at + 1 < decoded.size() &&
            static_cast<unsigned char>(decoded[at + 1]) < 0xA0) {
            html += kReplacement;
            ++at;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            html += kReplacement;
            continue;
        }
        switch (byte) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            html += decoded[at];
        }
    }
    return html;
}

} // namespace lorvenna
