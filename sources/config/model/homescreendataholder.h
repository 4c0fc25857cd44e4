#pragma once

#include "homescreendata.h"

#include <QObject>
#include <QSharedPointer>

// Keeps the record of the home-screen band model that last received a mono-sub reply, beyond
// the life of its screen. The record is shared with its model, so it lives as long as either
// needs it and is released when both have let go.
class HomeScreenDataHolder : public QObject
{
    Q_OBJECT

public:
    static HomeScreenDataHolder* instance();

    void setHomeScreenData(const QSharedPointer<HomeScreenData>& data);
    HomeScreenData* getHomeScreenData() const { return m_data.data(); }

private:
    HomeScreenDataHolder();

    QSharedPointer<HomeScreenData> m_data;
};
