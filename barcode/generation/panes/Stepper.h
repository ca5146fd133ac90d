#pragma once
// Small controls of the barcode windows that Qt has no exact counterpart for:
// a stepper (up and down arrows beside a text field that shows the number)
// and a colour well (a swatch that opens the colour chooser).
#include <QColor>
#include <QPushButton>
#include <QWidget>

class QToolButton;

// Up/down arrows holding a number between a minimum and a maximum. It has no
// text of its own: a text field beside it shows the value.
class Stepper : public QWidget {
    Q_OBJECT
public:
    explicit Stepper(QWidget* parent = nullptr);

    double value() const { return m_value; }
    int intValue() const { return static_cast<int>(m_value); }
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }
    double increment() const { return m_step; }

    // Setting from code clamps to the range and emits nothing.
    void setValue(double v);
    void setRange(double min, double max);
    void setIncrement(double step) { m_step = step; }
    void setMinimum(double min) { setRange(min, m_max); }
    void setMaximum(double max) { setRange(m_min, max); }

    // One click on an arrow (emits stepped()).
    void stepUp();
    void stepDown();

signals:
    // The user moved the value with an arrow.
    void stepped(double value);

private:
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    double m_value = 0.0;
    double m_min = 0.0;
    double m_max = 100.0;
    double m_step = 1.0;
};

// A button showing a colour; clicking it opens the colour chooser. Tests and
// code set the colour with setColor(); `notify` emits colorChanged as a user
// choice would.
class ColorWell : public QPushButton {
    Q_OBJECT
public:
    explicit ColorWell(const QColor& color = Qt::black, QWidget* parent = nullptr);
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
