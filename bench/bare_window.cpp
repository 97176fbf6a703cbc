// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark (startup.sh): a window with the fixed window's
// controls, texts, faces and colours, and nothing else: no model, no learning aids, no
// settings, no translations, no display check. What the program needs beyond this to show its
// first frame is what its start costs.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/fonts.h"
#include "app/form1_layout.h"
#include "integrands/integrand_catalogue.h"

namespace {

QWidget* make(const integral::layout::ControlRow& row, QWidget* parent) {
    using integral::layout::Kind;
    const QString text =
        QString::fromUtf8(row.text.data(), static_cast<qsizetype>(row.text.size()));
    QWidget* control = nullptr;
    switch (row.kind) {
        case Kind::PushButton:
            control = new QPushButton(text, parent);
            break;
        case Kind::ListBox:
            control = new QListWidget(parent);
            break;
        case Kind::TextBox:
            control = new QLineEdit(text, parent);
            break;
        case Kind::HelpBox:
            control = new QPlainTextEdit(text, parent);
            break;
        case Kind::Label:
            control = new QLabel(text, parent);
            break;
        case Kind::Canvas:
            control = new QWidget(parent);
            control->setPalette(QColor(0x80, 0xFF, 0xFF));
            control->setAutoFillBackground(true);
            break;
    }
    constexpr int k = integral::layout::kTwipsPerPixel;
    control->setGeometry(row.left / k, row.top / k, row.width / k, row.height / k);
    control->setFont(
        integral::windowFont(row.font.face, row.font.points, row.font.bold, row.font.italic));
    control->setVisible(row.visible);
    return control;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QWidget window;
    window.setWindowTitle(
        QString::fromUtf8(integral::layout::kCaption.data(),
                          static_cast<qsizetype>(integral::layout::kCaption.size())));
    window.resize(integral::layout::kWindowWidth / integral::layout::kTwipsPerPixel,
                  integral::layout::kWindowHeight / integral::layout::kTwipsPerPixel);
    window.setPalette(QColor(0xFF, 0xC0, 0xC0));
    window.setAutoFillBackground(true);
    for (const integral::layout::ControlRow& row : integral::layout::kControls) {
        QWidget* parent = row.parent.empty()
                              ? &window
                              : window.findChild<QWidget*>(QString::fromUtf8(
                                    row.parent.data(), static_cast<qsizetype>(row.parent.size())));
        make(row, parent)
            ->setObjectName(
                QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
    }
    auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
    for (const std::string_view label : integral::kIntegrandLabels) {
        list->addItem(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    }
    window.show();
    return QApplication::exec();
}
