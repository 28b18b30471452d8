#include "config/SettingsPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

SettingsPage::SettingsPage(SettingsSheetContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_units(DialogUnits::PageFont())
{
    setFont(DialogUnits::PageFont());
    setFixedSize(PageSize());
}

QSize SettingsPage::PageSize()
{
    return DialogUnits(DialogUnits::PageFont()).Size(393, 300);
}

void SettingsPage::Place(QWidget* w, int id, int x, int y, int width, int height)
{
    w->setGeometry(m_units.Rect(x, y, width, height));
    if (id != 0)
        w->setProperty("controlId", id);
}

QGroupBox* SettingsPage::AddGroup(const QString& title, int x, int y, int w, int h)
{
    auto* box = new QGroupBox(title, this);
    Place(box, 0, x, y, w, h);
    box->lower(); // behind the controls it frames
    return box;
}

QLabel* SettingsPage::AddLabel(int id, const QString& text, int x, int y, int w, int h, Qt::Alignment align)
{
    auto* label = new QLabel(text, this);
    label->setAlignment(align);
    Place(label, id, x, y, w, h);
    return label;
}

QAbstractButton* SettingsPage::AddRadio(QButtonGroup* group, int index, int id, const QString& text, int x, int y, int w,
                                        int h)
{
    auto* radio = new QRadioButton(text, this);
    Place(radio, id, x, y, w, h);
    group->addButton(radio, index);
    return radio;
}

void SettingsPage::SetGroupIndex(QButtonGroup* group, int index)
{
    if (QAbstractButton* b = group->button(index)) {
        b->setChecked(true);
        return;
    }
    // An exclusive group will not uncheck its last button.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

QWidget* FindControl(QWidget* root, int id)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->property("controlId").toInt() == id)
            return w;
    }
    return nullptr;
}
