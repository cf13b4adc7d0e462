#include "ui/BulkProgressWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::ui {

BulkProgressWindow::BulkProgressWindow(const QString& title, const QString& action, QWidget* parent)
    : QDialog(parent), action_(action) {
    setObjectName(QStringLiteral("BulkProgressWindow"));
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFixedWidth(420);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("ProgressLabel"));
    label_->setWordWrap(true);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setAccessibleName(QStringLiteral("Fortschritt"));
    auto* abort = new QPushButton(QStringLiteral("Abbrechen"), this);
    abort->setObjectName(QStringLiteral("AbortBtn"));
    abort->setAutoDefault(false);
    connect(abort, &QPushButton::clicked, this, [this, abort] {
        stopped_ = true;
        abort->setEnabled(false);
        label_->setText(label_->text() + QStringLiteral("\nEs wird nach diesem Gebäude beendet."));
    });
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(abort, 0, Qt::AlignRight);
}

bool BulkProgressWindow::report(int done, int total, const QString& name) {
    if (!isVisible())
        show();
    bar_->setRange(0, total);
    bar_->setValue(done);
    if (!stopped_)
        label_->setText(QStringLiteral("\u201E%1\u201C wird %2 \u2026 (%3 von %4 fertig)")
                            .arg(name, action_)
                            .arg(done)
                            .arg(total));
    QCoreApplication::processEvents();
    return !stopped_;
}

void BulkProgressWindow::finish() {
    finished_ = true;
    accept();
}

void BulkProgressWindow::closeEvent(QCloseEvent* event) {
    if (finished_)
        event->accept();
    else
        event->ignore();
}

// Enter and Escape neither press "Abbrechen" nor close the window.
void BulkProgressWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

} // namespace velmora::ui
