#pragma once

#include <QPushButton>
#include <QString>

namespace kerfline::ui {

// A named button of a dialog that Enter does not press: Enter belongs to the dialog's default
// button and to the numeric fields, which take it as leaving the field.
inline QPushButton* dialogButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace kerfline::ui
