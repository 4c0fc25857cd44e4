#include "homescreendataholder.h"

HomeScreenDataHolder* HomeScreenDataHolder::instance()
{
    static HomeScreenDataHolder holder;
    return &holder;
}

HomeScreenDataHolder::HomeScreenDataHolder() : m_data(QSharedPointer<HomeScreenData>::create()) {}

void HomeScreenDataHolder::setHomeScreenData(const QSharedPointer<HomeScreenData>& data)
{
    m_data = data;
}
