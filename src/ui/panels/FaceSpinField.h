#pragma once

#include <QAbstractSpinBox>

// A face property field: free text (blank means "leave unchanged"), with spin buttons that
// set it to a whole number within the field's range. Every step is reported.
class FaceSpinField : public QAbstractSpinBox {
    Q_OBJECT
public:
    FaceSpinField(int minimum, int maximum, QWidget* parent = nullptr);

    QString Text() const;
    // Replaces the text only when it differs (the cursor stays put while typing).
    void SetText(const QString& text);
    void stepBy(int steps) override;

signals:
    void stepped();

protected:
    StepEnabled stepEnabled() const override;

private:
    int Value() const;

    int m_minimum;
    int m_maximum;
};
