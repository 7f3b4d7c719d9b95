#include "version/VersionText.h"

#include "base/Text.h"

#include <cstdio>
#include <cstring>

namespace version {

const char kProductName[] = "Vantrel Config";

namespace {

const char kCompanyName[] = "Ulvenor Ltd";

// strtok with a one-character delimiter set, but with its position kept by the
// caller, so two threads (or two splits) never share hidden state. A zero
// delimiter is an empty set: the whole rest is one token.
char* NextToken(char*& position, char delimiter) {
    auto isDelimiter = [delimiter](char c) { return delimiter != '\0' && c == delimiter; };
    while (isDelimiter(*position)) {
        ++position;
    }
    if (*position == '\0') {
        return nullptr;
    }
    char* token = position;
    while (*position != '\0' && !isDelimiter(*position)) {
        ++position;
    }
    if (*position != '\0') {
        *position++ = '\0';
    }
    return token;
}

std::string WithoutBlanks(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c != ' ') {
            result += c;
        }
    }
    return result;
}

std::string CommasToDots(std::string text) {
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    return text;
}

}  // namespace

bool SplitVersion(char* text, int* first, int* second, int* third, char delimiter) {
    char* position = text;
    int* const outputs[] = {first, second, third};
    for (int* output : outputs) {
        const char* token = NextToken(position, delimiter);
        if (token == nullptr) {
            return false;
        }
        // Saturating, so a huge version number can never come out as 1.
        *output = base::ParseDecimal(token);
    }
    return true;
}

bool SplitFileVersion(char* text, int* first, int* second, int* third) {
    if (SplitVersion(text, first, second, third, '.')) {
        return true;
    }
    return SplitVersion(text, first, second, third, ',');
}

bool IsSupportedLibraryVersion(int first, int second) {
    return first == 1 && second == 1;
}

std::string MainWindowTitle(const std::string& productVersion) {
    std::string version = CommasToDots(WithoutBlanks(productVersion));
    const std::size_t lastDot = version.rfind('.');
    version = lastDot == std::string::npos ? std::string() : version.substr(0, lastDot);
    return std::string(kProductName) + " v" + version;
}

std::string AboutVersionLine(const std::string& productVersion) {
    return CommasToDots("Version: " + WithoutBlanks(productVersion));
}

std::string AboutLegalLine(const std::string& legalCopyright) {
    return legalCopyright + " " + kCompanyName;
}

std::string StringValueKey(unsigned short language, unsigned long codePage, const char* key) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04lx\\", language, codePage);
    return prefix + std::string(key);
}

std::string FileVersionKey(const void* translation, std::size_t translationBytes,
                           unsigned short userLanguage) {
    char key[64];
    if (translation != nullptr && translationBytes == 4) {
        const auto* bytes = static_cast<const unsigned char*>(translation);
        // Language id then code page, each a little-endian 16-bit word.
        std::snprintf(key, sizeof key, "\\StringFileInfo\\%02X%02X%02X%02X\\FileVersion", bytes[1],
                      bytes[0], bytes[3], bytes[2]);
    } else {
        std::snprintf(key, sizeof key, "\\StringFileInfo\\%04X04B0\\FileVersion", userLanguage);
    }
    return key;
}

void CopyVersionValue(char* buffer, std::size_t size, const char* value, std::size_t length) {
    if (size == 0) {
        return;
    }
    std::size_t count = 0;
    if (value != nullptr) {
        count = base::BoundedText(value, length).size();
        if (count > size - 1) {
            count = size - 1;
        }
        std::memcpy(buffer, value, count);
    }
    std::memset(buffer + count, 0, size - count);
}

std::string SiblingPath(const std::string& modulePath, const char* fileName) {
    const std::size_t separator = modulePath.find_last_of("\\/");
    if (separator == std::string::npos) {
        return fileName;
    }
    return modulePath.substr(0, separator + 1) + fileName;
}

}  // namespace version
