// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/text_only_box.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QToolTip>

namespace integral {

namespace {

// Longer than any line of the box: a word of this length cannot be wrapped at its boundaries.
constexpr int kLongWord = 200;

bool hasLongWord(const QString& text) {
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongWord) {
            return true;
        }
    }
    return false;
}

QString cutNotice() {
    return QStringLiteral("The help box holds at most %L1 characters; the rest was left out.")
        .arg(TextOnlyBox::kMaxCharacters);
}

}  // namespace

TextOnlyBox::TextOnlyBox(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {
    connect(this, &QPlainTextEdit::textChanged, this, &TextOnlyBox::chooseWrapping);
}

void TextOnlyBox::chooseWrapping() {
    const QTextOption::WrapMode wanted = hasLongWord(toPlainText())
                                             ? QTextOption::WrapAnywhere
                                             : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wanted) {
        setWordWrapMode(wanted);
    }
}

int TextOnlyBox::room() const {
    const QTextCursor cursor = textCursor();
    const int kept =
        document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
    return std::max(0, kMaxCharacters - kept);
}

bool TextOnlyBox::canInsertFromMimeData(const QMimeData* source) const {
    return source != nullptr && source->hasText();
}

void TextOnlyBox::insertFromMimeData(const QMimeData* source) {
    if (!canInsertFromMimeData(source)) {
        return;
    }
    const QString text = source->text();
    const int room = this->room();
    // Chosen before the text goes in, so that it is laid out once, and cheaply.
    if (hasLongWord(text.left(room))) {
        setWordWrapMode(QTextOption::WrapAnywhere);
    }
    insertPlainText(text.left(room));
    if (text.size() > room) {
        showNotice(this, cutNotice());
    }
}

void TextOnlyBox::keyPressEvent(QKeyEvent* event) {
    const bool inserts = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (inserts && room() < event->text().size()) {
        showNotice(this, cutNotice());
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void showNotice(QWidget* control, const QString& text) {
    QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), text, control, {}, 5000);
}

}  // namespace integral
