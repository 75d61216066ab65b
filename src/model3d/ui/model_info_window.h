#pragma once

#include "model3d/triangle_model.h"

#include <QDialog>

class QLabel;

namespace kerfline {
struct AppContext;
}

namespace kerfline::ui {

// The model properties window: source file, its size, the model's sizes and bounds.
class TfModelInfo : public QDialog {
    Q_OBJECT
public:
    TfModelInfo(AppContext& context, const model3d::TModel& model, QWidget* parent = nullptr);

    QLabel* lZrodlo = nullptr;
    QLabel* lRozmiar = nullptr;
    QLabel* lSzerokoscX = nullptr;
    QLabel* lDlugoscY = nullptr;
    QLabel* lWysokoscZ = nullptr;
};

}  // namespace kerfline::ui
