#pragma once
// frmFtp: the editor's FTP window. It has no work of its own: it holds one
// FTP control, ftp1, created when the window shows and released when it closes.

#include "ftp.h"

#include <QDialog>
#include <QPointer>

namespace orvane {

class frmFtp : public QDialog {
    Q_OBJECT
public:
    explicit frmFtp(QWidget* parent = nullptr);

    // Shows the window modally, creating it on first use; returns when it closes.
    static void display(QWidget* parent);
    // The window display() shows, once it exists.
    static frmFtp* instance();

    ftp::ftp* ftp1() const { return m_ftp1; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControl();
    void releaseControl();

    QPointer<ftp::ftp> m_ftp1;
};

}  // namespace orvane
