// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog in which a student types an integrand of their own: one line for f(x), checked
// as it is typed (what is wrong and at which column, under the line), a few examples to start
// from, and the expressions typed earlier in this session. Nothing is written to disk.
#pragma once

#include <QColor>
#include <QDialog>
#include <QStringList>
#include <memory>

#include "integrands/typed_expression.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace integral {

class ExpressionDialog : public QDialog {
    Q_OBJECT

  public:
    // `history`: the expressions typed earlier, the latest first.
    ExpressionDialog(const QStringList& history, QWidget* parent);

    // The expression as read, once the text is one; empty while it is not.
    std::shared_ptr<const TypedExpression> expression() const { return parsed_; }
    // What is wrong with the text, as the dialog shows it; empty when nothing is.
    QString problem() const;

    void setText(const QString& text);

  private:
    void check(const QString& text);
    QColor problemColour() const;

    QComboBox* line_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* ok_ = nullptr;
    std::shared_ptr<const TypedExpression> parsed_;
};

}  // namespace integral
