#include "homescreendata.h"

HomeScreenData::HomeScreenData(QObject* parent) : QObject(parent) {}

void HomeScreenData::setMonoSub(const QString& monoSub)
{
    if (monoSub != m_monoSub)
        m_monoSub = monoSub;
}

void HomeScreenData::setNumbands(const QString& numbands)
{
    if (numbands != m_numbands)
        m_numbands = numbands;
}
