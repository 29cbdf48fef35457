#pragma once
// frmFtp: the editor's FTP window. It has no work of its own: it holds one
// FTP control, ftp1, created when the window shows and released when it closes.

#include <QDialog>
#include <QPointer>

namespace orvane {

struct FtpControlEntry;

class frmFtp : public QDialog {
    Q_OBJECT
public:
    frmFtp(const FtpControlEntry& control, QWidget* parent);

    // Shows the window modally, creating it on first use; returns when it
    // closes. When the control's module cannot be opened, says so instead.
    static void display(QWidget* parent);
    // The window display() shows, once it exists.
    static frmFtp* instance();

    QWidget* ftp1() const { return m_ftp1; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControl();
    void releaseControl();

    const FtpControlEntry& m_control;
    QPointer<QWidget> m_ftp1;
};

}  // namespace orvane
