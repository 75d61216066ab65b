#pragma once

#include <QString>

#include <string>

namespace kerfline::ui {

// Core strings are UTF-8; Qt strings are made only here, at the edge.
inline QString qs(const std::string& text) { return QString::fromStdString(text); }
inline std::string ss(const QString& text) { return text.toStdString(); }

}  // namespace kerfline::ui
