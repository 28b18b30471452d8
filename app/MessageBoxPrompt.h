#pragma once
#include "app/IPrompt.h"

#include <QPointer>
#include <QWidget>

class MessageBoxPrompt : public IPrompt {
public:
    explicit MessageBoxPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    Answer Show(const QString& text, Buttons buttons = Buttons::Ok) override;

private:
    QPointer<QWidget> m_parent;
};
