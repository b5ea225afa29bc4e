#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every yes/no question of the program: はい(&Y) and いいえ(&N), いいえ the default and what Esc
// answers, so that a hurried Enter never does what the question warns of.
namespace Question {
bool ask(QWidget *parent, const QString &title, const QString &text,
         QMessageBox::Icon icon = QMessageBox::Question);
// A message with OK alone, under the title every message of the program carries.
void tell(QWidget *parent, const QString &text, QMessageBox::Icon icon = QMessageBox::Warning);
} // namespace Question
