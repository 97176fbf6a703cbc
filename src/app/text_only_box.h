// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-line help box. It takes only text from the clipboard, a drop or the selection:
// the toolkit's own handling of a paste with no usable format reads past an empty list and
// brings the program down, so anything that is not text is refused here. It holds at most
// kMaxCharacters, as a text box of its kind does, and says so when a paste is cut; and a word
// longer than a line is wrapped anywhere, since breaking one such word at word boundaries
// costs the layout seconds per key.
#pragma once

#include <QMimeData>
#include <QPlainTextEdit>

namespace integral {

class TextOnlyBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    static constexpr int kMaxCharacters = 65535;

    TextOnlyBox(const QString& text, QWidget* parent);

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Room left for new text, counting the selection it would replace.
    int room() const;
    void chooseWrapping();
};

// A short notice beside a control, gone after a few seconds: for what the user should know
// but need not answer.
void showNotice(QWidget* control, const QString& text);

}  // namespace integral
