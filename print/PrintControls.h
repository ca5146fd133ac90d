#pragma once
// Small controls of the print window and the new-card wizard: a stepper (up
// and down arrows beside a text field that shows its number), a colour well,
// the float entry check of the geometry fields, and the pictures of the nine
// alignment buttons.
#include <QColor>
#include <QIcon>
#include <QPushButton>
#include <QValidator>
#include <QWidget>

class QToolButton;

// Up/down arrows holding a number between a minimum and a maximum.
class Number_Stepper : public QWidget {
    Q_OBJECT
public:
    explicit Number_Stepper(QWidget* parent = nullptr);

    double value() const { return m_value; }
    int intValue() const { return static_cast<int>(m_value); }
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }

    // Setting from code clamps to the range and emits nothing.
    void setValue(double v);
    void setRange(double min, double max);
    void setMaximum(double max) { setRange(m_min, max); }
    void setIncrement(double step) { m_step = step; }

    // One click on an arrow (emits stepped()).
    void stepUp();
    void stepDown();

signals:
    void stepped(double value);

private:
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    double m_value = 0.0;
    double m_min = 0.0;
    double m_max = 100.0;
    double m_step = 1.0;
};

// A button showing a colour; clicking it opens the colour chooser.
class Colour_Well : public QPushButton {
    Q_OBJECT
public:
    explicit Colour_Well(const QColor& color = Qt::white, QWidget* parent = nullptr);
    QColor color() const { return m_color; }
    void setColor(const QColor& color, bool notify = false);

signals:
    void colorChanged(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose();
    QColor m_color;
};

// Accepts an empty entry or one that reads as a float to its end.
class Float_Num_Formatter : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// The picture of alignment button `value` (1 top-left ... 9 bottom-right),
// plain or selected. Pictures named after the buttons ("top_left",
// "top_left - sel", ...) in the resources' "Images" folder are used when
// present; otherwise the picture is drawn.
QIcon Alignment_Picture(int value, bool selected);
