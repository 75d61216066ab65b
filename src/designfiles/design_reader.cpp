#include "designfiles/design_reader.h"

#include "designfiles/design_type.h"
#include "designfiles/dxf_reader.h"
#include "designfiles/eps_reader.h"
#include "designfiles/hpgl_reader.h"

namespace kerfline {

std::unique_ptr<DesignReader> makeDesignReader(std::int32_t fileType, const CurveSettings& curveSettings)
{
    switch (fileType) {
    case kDesignHpgl: return std::make_unique<HpglReader>();
    case kDesignDxf: return std::make_unique<DxfReader>(curveSettings);
    case kDesignEps: return std::make_unique<EpsReader>();
    default: return nullptr;
    }
}

bool DesignFile::fail(DesignError::Kind kind, std::string token, std::uint64_t line)
{
    fault = DesignError{kind, path, bytes.offset(), line, std::move(token), 0};
    return false;
}

ReadResult DesignFile::readFailure() const
{
    return {DesignError{DesignError::Kind::ReadFailed, path, bytes.offset(), 0, {}, bytes.error()}};
}

}  // namespace kerfline
