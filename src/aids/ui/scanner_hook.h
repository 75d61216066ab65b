#pragma once

#include "aids/barcode_scanner.h"

#include <QObject>

#include <functional>
#include <string>

class QKeyEvent;

namespace kerfline::ui {

// The barcode scanner's hook: an application-wide filter that shows every key-down to the
// scanner buffer, whatever window has the focus, and lets every key through.
class ScannerHook : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application.
    explicit ScannerHook(QObject* parent = nullptr);
    ~ScannerHook() override;

    // While this answers true (the configuration dialog is visible, the browser is open) keys
    // pass the hook unseen.
    std::function<bool()> suspended;
    // Told each complete number.
    std::function<void(const std::string& number)> numberScanned;

    static ScannerKeyEvent scannerKey(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BarcodeScanner m_scanner;
};

}  // namespace kerfline::ui
