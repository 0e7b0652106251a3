#include "core/Error_.h"

#include "core/Trace_.h"
#include "core/Util.h"
#include "programming/ProgressCallback.h"

namespace Error_ {

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
    ProgressCallback::ProgressMessage(sText);
}

}  // namespace Error_
