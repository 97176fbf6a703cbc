// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/expression_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <variant>

#include "model/contrast.h"

namespace integral {

namespace {

const char* const kExamples[] = {"x^4", "1/sqrt(x)", "abs(x)", "sin(10*x)", "exp(-x*x/2)"};

}  // namespace

ExpressionDialog::ExpressionDialog(const QStringList& history, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExpressionDialog"));
    setWindowTitle(tr("Your own integrand"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Type f(x), an expression of x: + - * / ^, brackets, ") +
                             QString::fromStdString(typedFunctionList(" ", " ")) +
                             tr(" (or Exp, Sin, ... as the list spells them), pi and e."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* row = new QGridLayout;
    row->addWidget(new QLabel(QStringLiteral("f(x) =")), 0, 0);
    line_ = new QComboBox(this);
    line_->setObjectName(QStringLiteral("Expression"));
    line_->setEditable(true);
    line_->setInsertPolicy(QComboBox::NoInsert);
    line_->addItems(history);
    line_->setCurrentIndex(-1);
    line_->lineEdit()->setMaxLength(static_cast<int>(kMaxExpressionLength) + 1);
    line_->setMinimumWidth(440);
    line_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    line_->setAccessibleName(tr("f of x"));
    row->addWidget(line_, 0, 1);
    row->setColumnStretch(1, 1);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("Problem"));
    problem_->setTextFormat(Qt::RichText);
    problem_->setWordWrap(true);
    problem_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    problem_->setMinimumHeight(problem_->fontMetrics().lineSpacing() * 4);
    row->addWidget(problem_, 1, 1);
    layout->addLayout(row);

    auto* examples = new QHBoxLayout;
    examples->addWidget(new QLabel(tr("Examples:")));
    for (const char* example : kExamples) {
        auto* button = new QPushButton(QString::fromLatin1(example), this);
        button->setAutoDefault(false);
        button->setFlat(true);
        connect(button, &QPushButton::clicked, this,
                [this, example] { setText(QString::fromLatin1(example)); });
        examples->addWidget(button);
    }
    examples->addStretch();
    layout->addLayout(examples);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (parsed_) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(line_, &QComboBox::editTextChanged, this, &ExpressionDialog::check);
    check(QString());
    line_->setFocus();
}

// Dark red on a light dialog; under a dark theme the nearest red that reads on it.
QColor ExpressionDialog::problemColour() const {
    const QColor back = palette().color(QPalette::Window);
    return QColor::fromRgb(readableOn(0xB00000u, back.rgb() & 0xFFFFFFu));
}

void ExpressionDialog::setText(const QString& text) {
    line_->setEditText(text);
}

QString ExpressionDialog::problem() const {
    return QTextDocumentFragment::fromHtml(problem_->text()).toPlainText();
}

// Checked at every key: the line says at once what is wrong, and where.
void ExpressionDialog::check(const QString& text) {
    parsed_.reset();
    if (text.trimmed().isEmpty()) {
        problem_->setText(QString());
        ok_->setEnabled(false);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    auto result = TypedExpression::parse(std::string_view(utf8.constData(), utf8.size()));
    if (const auto* wrong = std::get_if<ExpressionProblem>(&result)) {
        // The column counts characters; the one there is marked in a copy of the text under
        // the line, whatever the fonts. In the copy a character that shows as nothing, or
        // would turn the line around, stands as a dot; each line is laid out left to right.
        const QList<uint> characters = text.toUcs4();
        const auto at = static_cast<qsizetype>(wrong->column - 1);
        QString marked;
        if (characters.size() <= 120) {
            const auto visible = [&characters](qsizetype from, qsizetype to) {
                QString shown;
                for (qsizetype i = from; i < std::min(to, characters.size()); ++i) {
                    const auto category = QChar::category(characters[i]);
                    const bool hidden =
                        category == QChar::Other_Format || category == QChar::Other_Control ||
                        category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
                    const char32_t c = hidden ? U'·' : static_cast<char32_t>(characters[i]);
                    shown += QString::fromUcs4(&c, 1);
                }
                return shown.toHtmlEscaped();
            };
            const QString mark = at < characters.size() ? visible(at, at + 1) : QStringLiteral(" ");
            marked = QStringLiteral(
                         "<p dir=\"ltr\" style=\"margin:0\"><tt>%1<span "
                         "style=\"background-color:#ffb0b0\">%2</span>%3</tt></p>")
                         .arg(visible(0, at), mark, visible(at + 1, characters.size()));
        }
        problem_->setText(marked +
                          QStringLiteral("<p dir=\"ltr\" style=\"margin:0\"><span "
                                         "style=\"color:%1\">Column %2: %3</span></p>")
                              .arg(problemColour().name())
                              .arg(at + 1)
                              .arg(QString::fromStdString(wrong->message).toHtmlEscaped()));
        ok_->setEnabled(false);
        return;
    }
    parsed_ = std::get<std::shared_ptr<const TypedExpression>>(std::move(result));
    problem_->setText(QString());
    ok_->setEnabled(true);
}

}  // namespace integral
