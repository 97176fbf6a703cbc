#include "app/form1.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "app/fonts.h"
#include "app/text_only_box.h"
#include "app/window_texts.h"
#include "canvas/canvas_widget.h"
#include "canvas/plot_operations.h"
#include "integrands/integrand_catalogue.h"
#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "quadrature/zelbrin_table.h"
#include "runtime/text_to_number.h"

namespace integral {

namespace {

// Positions and sizes are given in twips; 15 twips make one device-independent pixel.
QRect twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

constexpr int kEnter = 13;

const QColor kWindowBack(0xFF, 0xC0, 0xC0);    // light pink
const QColor kLabelBack(0x80, 0xFF, 0x80);     // light green
const QColor kMethodButton(0xFF, 0xFF, 0x80);  // light yellow
const QColor kSummaryText(0xFF, 0x00, 0x00);

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

template <typename Control>
Control* place(QWidget* parent, const char* name, QRect geometry, const QFont& font) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    control->setFont(font);
    return control;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect geometry,
              const QFont& font, const QColor& back, bool border) {
    auto* result = place<QLabel>(parent, name, geometry, font);
    result->setTextFormat(Qt::PlainText);
    result->setText(QString::fromUtf8(text));
    setBackground(result, back);
    if (border) {
        result->setFrameStyle(QFrame::Box | QFrame::Plain);
        result->setLineWidth(1);
    }
    return result;
}

std::string toStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), node(makeGaussArray()), weight(makeGaussArray()) {
    reportError_ = [this](Fault fault) {
        QMessageBox::critical(this, QString::fromUtf8(texts::kCaption),
                              QString::fromUtf8(faultName(fault).data()));
    };
    setupWindow();
    setupControls();
    setupStacking();
    setupTabOrder();
    setupAccessibility();
    setupConnections();
    Form_Load();
    Picture1->setFocus();
}

Form1::~Form1() = default;

void Form1::setErrorReporter(ErrorReporter reporter) {
    reportError_ = std::move(reporter);
}

void Form1::setupWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(texts::kCaption));
    resize(718, 570);
    setBackground(this, kWindowBack);
}

void Form1::setupControls() {
    const QFont gothic12Bold = windowFont(Face::ProportionalGothic, 12, true, false);
    const QFont gothic1125Bold = windowFont(Face::ProportionalGothic, 11.25, true, false);

    Command6 = place<QPushButton>(this, "Command6", twips(8880, 6240, 1455, 375), gothic12Bold);
    Command5 = place<QPushButton>(this, "Command5", twips(8880, 5880, 1455, 375), gothic12Bold);
    Command4 = place<QPushButton>(this, "Command4", twips(8880, 5520, 1455, 375), gothic12Bold);
    Command3 = place<QPushButton>(this, "Command3", twips(8760, 720, 1335, 495), gothic12Bold);
    Command2 = place<QPushButton>(this, "Command2", twips(9000, 7680, 975, 495), gothic12Bold);
    Command6->setText(QStringLiteral("MonteCarlo"));
    Command5->setText(QStringLiteral("Gauss"));
    Command4->setText(QStringLiteral("Zelbrin"));
    Command3->setText(QStringLiteral("Help"));
    Command2->setText(QStringLiteral("End"));
    for (QPushButton* method : {Command4, Command5, Command6}) {
        setBackground(method, kMethodButton);
    }

    List2 = place<QListWidget>(this, "List2", twips(8520, 4200, 2055, 1185),
                               windowFont(Face::ProportionalGothic, 11.25, false, false));
    Command1 = place<QPushButton>(this, "Command1", twips(8880, 2160, 1335, 495), gothic12Bold);
    Command1->setText(QStringLiteral("Graph"));
    List1 = place<QListWidget>(this, "List1", twips(8280, 1320, 2535, 780), gothic12Bold);
    for (QListWidget* list : {List1, List2}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    Text3 = place<QLineEdit>(this, "Text3", twips(8760, 6960, 1455, 375), gothic1125Bold);
    QPalette summary = Text3->palette();
    summary.setColor(QPalette::Text, kSummaryText);
    Text3->setPalette(summary);
    Text2 = place<QLineEdit>(this, "Text2", twips(9720, 3240, 735, 330), gothic1125Bold);
    Text2->setText(QStringLiteral("x2"));
    Text1 = place<QLineEdit>(this, "Text1", twips(9720, 2760, 735, 360), gothic12Bold);
    Text1->setText(QStringLiteral("x1"));

    const QRect canvas = twips(120, 600, 8175, 8175);
    Picture1 = new CanvasWidget(canvas.width(), this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(canvas.topLeft());
    Picture1->setFont(windowFont(Face::ProportionalGothic, 18, true, true));

    // The canvas's two children stand in its client area, inside the border.
    const QPoint inside(CanvasWidget::kBorder, CanvasWidget::kBorder);
    Text4 = place<TextOnlyBox>(Picture1, "Text4", twips(0, 6120, 2295, 1575).translated(inside),
                               windowFont(Face::ProportionalMincho, 12, false, false));
    Text4->setPlainText(QStringLiteral("Text4"));
    Text4->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text4->setTabChangesFocus(true);  // a text box passes Tab on, multi-line or not
    Text4->hide();
    Label5 = label(Picture1, "Label5", "Label5", twips(360, 360, 780, 285).translated(inside),
                   gothic1125Bold, Qt::white, true);
    Label5->adjustSize();
    Label5->hide();

    Label4 = label(this, "Label4", "Numerical  Integration", twips(2280, 120, 4245, 435),
                   windowFont(Face::Century, 18, true, true), kWindowBack, false);
    Label4->adjustSize();
    const QFont gothic1125BoldItalic = windowFont(Face::ProportionalGothic, 11.25, true, true);
    Label3 = label(this, "Label3", " n      S", twips(8520, 3840, 2055, 375), gothic1125BoldItalic,
                   kLabelBack, true);
    Label2 = label(this, "Label2", "final =", twips(8640, 3240, 1095, 375), gothic1125BoldItalic,
                   kLabelBack, true);
    Label2->setAlignment(Qt::AlignCenter);
    Label1 = label(this, "Label1", "Initial =", twips(8640, 2760, 1065, 420),
                   windowFont(Face::ProportionalGothic, 12, true, true), kLabelBack, true);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->adjustSize();
}

// Controls created earlier lie on top of those created later (Text2 over the edge of Label2).
void Form1::setupStacking() {
    const QList<QWidget*> topFirst = {Command6, Command5, Command4, Command3, Command2, List2,
                                      Command1, List1,    Text3,    Text2,    Text1,    Picture1,
                                      Label4,   Label3,   Label2,   Label1};
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
        (*it)->raise();
    }
}

void Form1::setupTabOrder() {
    const QList<QWidget*> order = {Picture1, Text1,    Text2, Text3,    List1,    Command1, List2,
                                   Command2, Command3, Text4, Command4, Command5, Command6};
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
    for (QWidget* label : {Label1, Label2, Label3, Label4, Label5}) {
        label->setFocusPolicy(Qt::NoFocus);
    }
}

// Names and descriptions for screen readers; the visible texts stay as they are.
void Form1::setupAccessibility() {
    struct Description {
        QWidget* control;
        const char* name;
        const char* description;
    };
    const Description descriptions[] = {
        {this, "Integral", "Numerical integration, step by step"},
        {Picture1, "Plot canvas",
         "The graph of the chosen integrand; click it to set the height of the Monte Carlo box"},
        {List1, "Integrand", "Choose the function to integrate"},
        {Command1, "Plot the integrand", "Clear the canvas and plot the chosen integrand"},
        {Text1, "Lower limit", "Type the lower limit and press Enter"},
        {Text2, "Upper limit", "Type the upper limit and press Enter to shade the area"},
        {List2, "Results", "One row per refinement step: the count and the estimate"},
        {Text3, "Summary", "The last estimate of the integral"},
        {Command4, "Compute with the parabolic rule", "Composite parabolic rule, 2 to 20 panels"},
        {Command5, "Compute with Gauss-Legendre quadrature", "Gauss-Legendre, 2 to 6 nodes"},
        {Command6, "Compute with Monte Carlo sampling",
         "Hit-or-miss sampling in the box under the height clicked on the canvas"},
        {Command3, "Help", "Show how to use the program"},
        {Command2, "End", "Close the program"},
        {Text4, "Help text", "How to use the program"},
        {Label1, "Lower limit label", "Labels the lower limit box"},
        {Label2, "Upper limit label", "Labels the upper limit box"},
        {Label3, "Results heading", "Heads the columns of the results list"},
        {Label4, "Title", "The program's title"},
        {Label5, "Monte Carlo hint", "Reminds to set the box height before Monte Carlo"},
    };
    for (const Description& d : descriptions) {
        d.control->setAccessibleName(QString::fromUtf8(d.name));
        d.control->setAccessibleDescription(QString::fromUtf8(d.description));
    }
}

void Form1::setupConnections() {
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    // Selection, not the current row: the list makes its first row current when it merely
    // gains the focus, and passing through with Tab must not choose an integrand.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List1->selectedItems().isEmpty()) {
            List1_Click();
        }
    });
    connect(Picture1, &CanvasWidget::mousePressed, this, &Form1::Picture1_MouseDown);
    Command6->setMouseTracking(true);
    Command6->installEventFilter(this);
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Command6 && event->type() == QEvent::MouseMove) {
        Command6_MouseMove();
    } else if ((watched == Text1 || watched == Text2) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyAscii = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyAscii = kEnter;
        } else if (!key->text().isEmpty()) {
            keyAscii = key->text().at(0).unicode();
        }
        if (keyAscii != 0) {
            if (watched == Text1) {
                Text1_KeyPress(keyAscii);
            } else {
                Text2_KeyPress(keyAscii);
            }
        }
    }
    return false;  // the key still reaches the box, Enter included
}

Variant Form1::f(const Variant& x) const {
    return evaluateIntegrand(fnum, x);
}

void Form1::guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const RuntimeError& error) {
        reportError_(error.fault());
    }
}

void Form1::Form_Load() {
    drawStartupCanvas(*Picture1);
    for (std::string_view labelText : kIntegrandLabels) {
        List1->addItem(
            QString::fromUtf8(labelText.data(), static_cast<qsizetype>(labelText.size())));
    }
}

void Form1::ShadeArea() {
    integral::ShadeArea(*Picture1, integrand_, x1, x2);
}

void Form1::DrawBox() {
    integral::DrawBox(*Picture1, x1, x2, ymax);
}

void Form1::Command1_Click() {
    guarded([this] {
        drawGraph(*Picture1, integrand_);
        List2->clear();
        Text1->setText(QString());
        Text1->setFocus();
        Text2->setText(QString());
        Text3->setText(QString());
    });
}

void Form1::Command2_Click() {
    close();
}

void Form1::Command3_Click() {
    Text4->show();
    Text4->setPlainText(QString::fromUtf8(texts::kHelp));
}

void Form1::showMethodRun(const std::function<void(ResultsPanel&)>& table) {
    ResultsPanel panel;
    std::optional<Fault> fault;
    try {
        table(panel);
    } catch (const RuntimeError& error) {
        fault = error.fault();
    }
    List2->clear();
    for (const std::string& row : panel.rows()) {
        List2->addItem(QString::fromStdString(row));
    }
    if (panel.summary()) {
        Text3->setText(QString::fromStdString(*panel.summary()));
    }
    if (fault) {
        reportError_(*fault);
    }
}

void Form1::Command4_Click() {
    showMethodRun([this](ResultsPanel& panel) { zelbrinTable(integrand_, x1, x2, panel); });
}

void Form1::Command5_Click() {
    showMethodRun(
        [this](ResultsPanel& panel) { gaussTable(integrand_, x1, x2, node, weight, panel); });
}

void Form1::Command6_Click() {
    showMethodRun([this](ResultsPanel& panel) {
        monteCarloTable(integrand_, x1, x2, ymax, hits, random_, panel);
    });
}

void Form1::Command6_MouseMove() {
    Label5->setText(QString::fromUtf8(texts::kMonteCarloHint));
    Label5->show();
    Label5->adjustSize();
}

void Form1::List1_Click() {
    const int row = List1->row(List1->selectedItems().constFirst());
    fnum = Variant::integer(static_cast<std::int16_t>(row + 1));
}

void Form1::Picture1_MouseDown(float y) {
    guarded([this, y] {
        ymax = Variant::single(y);
        DrawBox();
    });
}

void Form1::Text1_KeyPress(int keyAscii) {
    if (keyAscii != kEnter) {
        return;
    }
    guarded([this] {
        x1 = Variant::real(numericValue(toStdString(Text1->text())));
        Text2->setFocus();
    });
}

void Form1::Text2_KeyPress(int keyAscii) {
    if (keyAscii != kEnter) {
        return;
    }
    guarded([this] {
        x2 = Variant::real(numericValue(toStdString(Text2->text())));
        if (x2 < x1) {
            std::swap(x1, x2);
        }
        ShadeArea();
        Label5->hide();
    });
}

}  // namespace integral
