#include "ui/reference/referencewindows.h"

#include <QDialog>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {
QWidget *placeholder(QWidget *parent, const QString &name)
{
    auto *w = new QWidget(parent, Qt::Window);
    w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose);
    return w;
}
} // namespace

QWidget *createFenshen(QWidget *parent, std::function<QString()>) { return placeholder(parent, u"Fenshen"_s); }
QWidget *createLiujia(QWidget *parent) { return placeholder(parent, u"Liujia"_s); }
QWidget *createSswx1(QWidget *parent) { return placeholder(parent, u"Sswx1"_s); }
QWidget *createYao3x(QWidget *parent) { return placeholder(parent, u"Yao3x"_s); }
QWidget *createYao6h(QWidget *parent) { return placeholder(parent, u"yao6h"_s); }
QWidget *createYao6c(QWidget *parent) { return placeholder(parent, u"yao6c"_s); }
QWidget *createHelpf(QWidget *parent) { return placeholder(parent, u"Helpf"_s); }
QDialog *createAboutt(QWidget *parent)
{
    auto *d = new QDialog(parent);
    d->setObjectName(u"aboutt"_s);
    d->setAttribute(Qt::WA_DeleteOnClose);
    return d;
}

} // namespace lotgrid
