#include "gui/window/Question.h"

#include <QPushButton>

namespace Question {
bool ask(QWidget *parent, const QString &title, const QString &text, QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void tell(QWidget *parent, const QString &text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QStringLiteral("メッセ－ジ"), text, QMessageBox::Ok, parent);
    box.exec();
}
} // namespace Question
