#include "core/Error_.h"

#include <utility>

#include "core/Trace_.h"
#include "core/Util.h"

namespace Error_ {

namespace {
std::function<void(const std::string&)>& StatusSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}
}  // namespace

std::string ErrorText(const std::string& sProcedure, std::int32_t lNumber, const std::string& sDescription,
                      const std::string& sSource) {
    const std::string sPrefix = sSource.empty() ? std::string() : sSource + ".";
    return sPrefix + sProcedure + ": ERROR 0x" + Util::Hex(lNumber) + " (" + std::to_string(lNumber) +
           "): " + sDescription;
}

void ReportError(const std::string& sProcedure, std::int32_t lNumber, const std::string& sDescription,
                 const std::string& sSource) {
    const std::string sText = ErrorText(sProcedure, lNumber, sDescription, sSource);
    Trace_::Trace("Runtime Error", sText);
    if (const auto& sink = StatusSink()) sink(sText);
}

void SetStatusSink(std::function<void(const std::string&)> sink) { StatusSink() = std::move(sink); }

}  // namespace Error_
