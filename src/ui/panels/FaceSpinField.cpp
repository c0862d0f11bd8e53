#include "panels/FaceSpinField.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

FaceSpinField::FaceSpinField(int minimum, int maximum, QWidget* parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setKeyboardTracking(true);
}

QString FaceSpinField::Text() const {
    return lineEdit()->text();
}

void FaceSpinField::SetText(const QString& text) {
    if (lineEdit()->text() != text) {
        lineEdit()->setText(text);
    }
}

int FaceSpinField::Value() const {
    bool ok = false;
    const double value = Text().trimmed().toDouble(&ok);
    return ok ? static_cast<int>(std::lround(value)) : 0;
}

void FaceSpinField::stepBy(int steps) {
    const int value = std::clamp(Value() + steps, m_minimum, m_maximum);
    lineEdit()->setText(QString::number(value));
    emit stepped();
}

QAbstractSpinBox::StepEnabled FaceSpinField::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}
