// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-line help box. It takes only text from the clipboard, a drop or the selection:
// the toolkit's own handling of a paste with no usable format reads past an empty list and
// brings the program down, so anything that is not text is refused here.
#pragma once

#include <QMimeData>
#include <QPlainTextEdit>

namespace integral {

class TextOnlyBox : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override {
        return source != nullptr && source->hasText();
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (canInsertFromMimeData(source)) {
            insertPlainText(source->text());
        }
    }
};

}  // namespace integral
