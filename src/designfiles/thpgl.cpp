#include "designfiles/thpgl.h"

#include "designfiles/figure_end.h"

namespace kerfline {

// The file-in-use result (kOpenFileInUse) comes from platforms that lock open files. Linux does
// not: a file another program writes opens normally, so there it never occurs.
int Thpgl::OpenDesign(const std::string& path, std::int32_t fileType)
{
    CloseDesign();
    m_fileType = fileType;
    m_failure.reset();
    m_reader = makeDesignReader(fileType, m_curveSettings);
    // A kind nothing reads holds no reader and so reads as an empty design.
    const int code = m_reader ? m_reader->open(path) : 0;
    if (code != 0)
        m_reader.reset();
    return code;
}

ReadResult Thpgl::ReadFigure(tfigura& figure)
{
    if (m_failure) {
        figure.valid = 0;
        return {m_failure};
    }
    if (!endOfFile()) {
        if (ReadResult result = m_reader->nextFigure(figure); !result) {
            m_failure = result.error;
            figure.valid = 0;
            return result;
        }
    }
    endFigure(figure);
    return {};
}

}  // namespace kerfline
