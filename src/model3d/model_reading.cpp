#include "model3d/model_reading.h"

#include "model3d/dxf3d_reader.h"
#include "model3d/raw_reader.h"
#include "base/language.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kerfline::model3d {
namespace {

std::string upperExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

ModelReadResult failed(const std::string& path, DesignError error)
{
    ModelReadResult result;
    result.model.fileName = path;
    result.error = std::move(error);
    return result;
}

}  // namespace

ModelReadResult ReadDxf(const std::string& path, double unitFactor, std::stop_token stop)
{
    TDxf2RawConverter converter(path);
    converter.setStopToken(stop);
    converter.setUnitFactor(unitFactor);
    if (const ReadResult read = converter.Convert(); !read)
        return failed(path, *read.error);
    ModelReadResult result;
    result.truncated = converter.truncated();
    result.triangles = converter.takeTriangles();
    result.model = boundsOf(result.triangles, path);
    return result;
}

ModelReadResult ReadRaw(const std::string& path, double unitFactor, std::stop_token stop)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        DesignError error;
        error.kind = DesignError::Kind::ReadFailed;
        error.file = path;
        return failed(path, error);
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ModelReadResult result;
    ModelBounds bounds;
    ReadRawText(text, unitFactor, result.triangles, bounds, stop);
    result.model = bounds.model(path);
    return result;
}

ModelReadResult ReadModel(const std::string& path, double unitFactor, std::stop_token stop)
{
    const std::string extension = upperExtension(path);
    if (extension == ".DXF")
        return ReadDxf(path, unitFactor, stop);
    if (extension == ".RAW")
        return ReadRaw(path, unitFactor, stop);
    ModelReadResult empty;
    empty.model.fileName = path;
    return empty;
}

std::string emptyModelMessage(const tInterfejs& language, const std::string& path)
{
    std::string text = language.Text("Project_window", "zbiorPusty") + "\n" +
                       formatText(language.Text("Project_window", "zbiorPustyPlik"), {path});
    const std::string extension = upperExtension(path);
    if (extension == ".DXF")
        text += "\n" + language.Text("SerialCutFrom3D", "modelPustyDXF");
    else if (extension == ".RAW")
        text += "\n" + language.Text("SerialCutFrom3D", "modelPustyRAW");
    return text;
}

}  // namespace kerfline::model3d
