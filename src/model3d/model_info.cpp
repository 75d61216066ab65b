#include "model3d/model_info.h"

#include "config/dialog_rules.h"
#include "config/parameters.h"
#include "base/round.h"

#include <cstdio>
#include <filesystem>

namespace kerfline::model3d {

std::string fileSizeText(std::uintmax_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + "b";
    if (bytes <= 1048575)
        return std::to_string(roundHalfEven<std::int64_t>(static_cast<double>(bytes) / 1024.0)) + "KB";
    return std::to_string(roundHalfEven<std::int64_t>(static_cast<double>(bytes) / 1048576.0)) + "MB";
}

std::string modelLengthText(double millimetres, int displayUnit)
{
    const int decimals = displayUnit == UnitInch ? 2 : displayUnit == UnitFoot ? 3 : 1;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f ", decimals, millimetres / unitFactor(displayUnit));
    return text;
}

ModelInfoTexts modelInfoTexts(const TModel& model, int displayUnit, const tInterfejs& language)
{
    namespace fs = std::filesystem;
    ModelInfoTexts texts;
    texts.source = fs::path(model.fileName).filename().string();
    texts.sourceHint = model.fileName;
    std::error_code error;
    const std::uintmax_t bytes = fs::file_size(model.fileName, error);
    texts.size = error ? "" : fileSizeText(bytes);
    const auto length = [&](double mm) { return modelLengthText(mm, displayUnit); };
    texts.width = length(model.maxX - model.minX);
    texts.length = length(model.maxY - model.minY);
    texts.height = length(model.maxZ - model.minZ);
    texts.minX = length(model.minX);
    texts.maxX = length(model.maxX);
    texts.minY = length(model.minY);
    texts.maxY = length(model.maxY);
    texts.minZ = length(model.minZ);
    texts.maxZ = length(model.maxZ);
    texts.unit = " " + unitTexts(displayUnit, language).length;
    return texts;
}

}  // namespace kerfline::model3d
