// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/learning_aids.h"
#include "app/utf8.h"

namespace integral {

CompareWindow::CompareWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Compare"));
    setWindowTitle(QStringLiteral("Compare the methods"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(560, 520);

    methods_ = new QComboBox(this);
    methods_->setObjectName(QStringLiteral("CompareMethod"));
    for (const MethodInfo& info : kMethods) {
        methods_->addItem(text(info.caption) + QStringLiteral(" — ") + text(info.description),
                          static_cast<int>(info.method));
    }
    methods_->setToolTip(
        QStringLiteral("The method to run on the integrand and limits of the "
                       "main window"));
    run_ = new QPushButton(QStringLiteral("&Run"), this);
    run_->setObjectName(QStringLiteral("CompareRun"));
    run_->setDefault(true);
    rows_ = new QListWidget(this);
    rows_->setObjectName(QStringLiteral("CompareRows"));
    rows_->setToolTip(
        QStringLiteral("Hover over a row for its figures; double-click or press "
                       "Enter to see how it was made"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("CompareSummary"));
    summary_->setWordWrap(true);
    summary_->setText(
        QStringLiteral("Choose a method and press Run. Ctrl+K shows every run's "
                       "errors against the evaluations of f."));

    auto* top = new QHBoxLayout;
    top->addWidget(methods_, 1);
    top->addWidget(run_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rows_, 1);
    layout->addWidget(summary_);

    connect(run_, &QPushButton::clicked, this, [this] { emit runRequested(chosenMethod()); });
    connect(rows_, &QListWidget::itemActivated, this,
            [this] { emit rowActivated(rows_->currentRow()); });
}

Method CompareWindow::chosenMethod() const {
    return static_cast<Method>(methods_->currentData().toInt());
}

int CompareWindow::currentRow() const {
    return rows_->currentRow();
}

void CompareWindow::display(const AnalysedRun& run, const QString& integrand) {
    shown_ = run;
    rows_->clear();
    for (std::size_t i = 0; i < run.run.rows.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(run.run.rows[i]), rows_);
        item->setToolTip(rowTooltip(run.run, run.analysis, i));
    }
    const QString method = text(methodInfo(run.run.method).caption);
    QString said = QStringLiteral("%1 of %2").arg(method, integrand);
    if (run.run.summary) {
        said += QStringLiteral(": ") + QString::fromStdString(*run.run.summary);
        summary_->setToolTip(summaryTooltip(run.run, run.analysis));
    } else if (run.run.fault) {
        said += QStringLiteral(": stopped by a fault after %1 rows").arg(run.run.rows.size());
    }
    summary_->setText(said);
    setWindowTitle(QStringLiteral("Compare the methods: ") + method);
    show();
    raise();
}

void CompareWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace integral
