#include "utf8_text.h"

bool DecodeUtf8(const std::string& text, std::vector<char32_t>& codes)
{
    codes.clear();
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms would hide a control code from a reader like this one.
        if ((length == 2 && code < 0x80) || (length == 3 && code < 0x800))
            return false;
        codes.push_back(code);
        i += length;
    }
    return true;
}

bool IsTerminalControl(char32_t code)
{
    if (code == '\t' || code == '\n' || code == '\r')
        return false;
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}
