// Error messages of one source file, each as "file:line: message" or, where
// the place within the line is known, "file:line:column: message".
#pragma once

#include <string>
#include <utility>
#include <vector>

class Diagnostics {
  public:
    explicit Diagnostics(std::string fileName) : fileName_(std::move(fileName)) {}

    void error(int line, const std::string& message) {
        messages_.push_back(fileName_ + ":" + std::to_string(line) + ": " + message);
    }
    void error(int line, int column, const std::string& message) {
        messages_.push_back(fileName_ + ":" + std::to_string(line) + ":" + std::to_string(column) +
                            ": " + message);
    }
    // A mistake of the file as a whole, at no line.
    void error(const std::string& message) { messages_.push_back(fileName_ + ": " + message); }
    bool hasErrors() const { return !messages_.empty(); }
    const std::vector<std::string>& messages() const { return messages_; }

  private:
    std::string fileName_;
    std::vector<std::string> messages_;
};
