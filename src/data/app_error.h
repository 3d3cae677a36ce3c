#pragma once

#include <stdexcept>
#include <string>

// A failure that ends the current user action and reaches the general error report. The message is
// Shift-JIS, as the report shows it.
class AppError : public std::runtime_error {
  public:
    explicit AppError(std::string sjisMessage)
        : std::runtime_error(sjisMessage), message_(std::move(sjisMessage)) {}
    const std::string& message() const { return message_; }

  private:
    std::string message_;
};

// The message with its %s or %d replaced (the program's messages hold at most one).
std::string formatMessage(std::string_view utf8Pattern, std::string_view sjisArgument);

// "ファイル %s を作成できません" and its kin, for the full path given in the file system's form.
AppError cannotCreateFile(const std::string& path);
AppError cannotOpenFile(const std::string& path);
AppError cannotWriteTo(const std::string& path);
AppError indexOutOfRange(int index);
AppError cannotOpenClipboard();
