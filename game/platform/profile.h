// Profile files (config.ini, the enemy definitions) with the semantics of the
// Windows profile functions: case-insensitive sections and keys, the first
// match wins, values trimmed of surrounding blanks, integers read like
// GetPrivateProfileInt. Every write replaces the file atomically (in place
// when the folder does not allow that, never when the file is read-only; see
// file_replace.h) and keeps all its other lines byte for byte.
#pragma once

#include <memory>
#include <string>

// Integer value of the key, or defaultValue when the section or key is missing.
// Leading digits are read (optional minus sign); a value without digits reads as 0.
int profileReadInt(const std::string& fileName, const char* section, const char* key,
                   int defaultValue);

// Text value of the key, or defaultValue when missing; cut to bufferSize - 1 bytes.
std::string profileReadString(const std::string& fileName, const char* section, const char* key,
                              const char* defaultValue, size_t bufferSize = 1024);

// Writes key=value into the section, creating the file, section or key when
// missing. Returns false when the file could not be written (it is then as
// it was).
bool profileWriteString(const std::string& fileName, const char* section, const char* key,
                        const char* value);

// A profile file read once, for a reader that takes many keys from it (an
// enemy definition): each read gives what the functions above give for the
// file as it was when it was read. A file that cannot be read has no keys.
class ProfileText {
  public:
    explicit ProfileText(const std::string& fileName);
    int readInt(const char* section, const char* key, int defaultValue) const;
    std::string readString(const char* section, const char* key, const char* defaultValue,
                           size_t bufferSize = 1024) const;

  private:
    struct Parsed;
    std::shared_ptr<const Parsed> parsed_;
};
