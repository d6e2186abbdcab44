#include "app/MessageBoxSink.h"

#include "resources/StringTable.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QMessageBox::Icon ToIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void CMessageBoxSink::Show(const QString& strText, MsgIcon icon)
{
    QMessageBox box(ToIcon(icon), LoadString(IDS_APP_TITLE), strText, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool CMessageBoxSink::AskYesNo(const QString& strText, MsgIcon icon)
{
    QMessageBox box(ToIcon(icon), LoadString(IDS_APP_TITLE), strText, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
}

bool CMessageBoxSink::AskYesNoDefaultNo(const QString& strText, MsgIcon icon)
{
    QMessageBox box(ToIcon(icon), LoadString(IDS_APP_TITLE), strText, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
