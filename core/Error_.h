#pragma once
// Reporting a trapped runtime error: one text with the procedure's name, the error's
// number and description, traced and put on the status line.
//
// Error_::RuntimeError is the program's runtime error: code that raises an error for
// its caller to trap throws it (or an exception derived from std::runtime_error).
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace Error_ {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::int32_t number, const std::string& description, const std::string& source = {})
        : std::runtime_error(description), number_(number), source_(source) {}
    std::int32_t Number() const { return number_; }
    std::string Description() const { return what(); }
    const std::string& Source() const { return source_; }

private:
    std::int32_t number_;
    std::string source_;
};

// The report text: [source "."] procedure ": ERROR 0x" hex " (" decimal "): " description.
std::string ErrorText(const std::string& sProcedure, std::int32_t lNumber, const std::string& sDescription,
                      const std::string& sSource);
// Traces the text (place "Runtime Error") and sends it to the status sink.
void ReportError(const std::string& sProcedure, std::int32_t lNumber, const std::string& sDescription,
                 const std::string& sSource);

// Where ReportError puts its text for the user to see: the status channel of the
// programming code, which lives above this layer, so the program installs it (and tests
// that watch the status). Without one (an empty function) the trace line is all.
void SetStatusSink(std::function<void(const std::string&)> sink);

}  // namespace Error_
