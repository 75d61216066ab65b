#include "designfiles/thpgl.h"

#include "designfiles/figure_end.h"

namespace kerfline {

// The file-in-use result (kOpenFileInUse) comes from platforms that lock open files. Linux does
// not: a file another program writes opens normally, so there it never occurs.
int Thpgl::OpenDesign(const std::string& path, std::int32_t fileType)
{
    CloseDesign();
    m_fileType = fileType;
    m_path = path;
    m_failure.reset();
    m_endOfFile = true;
    switch (fileType) {
    case kDesignHpgl:
        return openHpgl();
    case kDesignDxf:
        return openDxf();
    case kDesignEps:
        return openEps();
    default:
        // Nothing to read; the end-of-file flag is already set so the caller's loop ends at once.
        return 0;
    }
}

ReadResult Thpgl::ReadFigure(tfigura& figure)
{
    if (m_failure) {
        figure.valid = 0;
        return {m_failure};
    }
    if (m_endOfFile) {
        endFigure(figure);
        return {};
    }
    ReadResult result;
    switch (m_fileType) {
    case kDesignHpgl:
        result = readHpglFigure(figure);
        break;
    case kDesignDxf:
        result = readDxfFigure(figure);
        break;
    case kDesignEps:
        result = readEpsFigure(figure);
        break;
    default:
        m_endOfFile = true;
        break;
    }
    if (!result) {
        m_failure = result.error;
        m_endOfFile = true;
        figure.valid = 0;
        return result;
    }
    endFigure(figure);
    return result;
}

void Thpgl::CloseDesign()
{
    m_file.close();
    m_endOfFile = true;
}

}  // namespace kerfline
