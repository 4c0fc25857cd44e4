#pragma once

#include "testharness.h"

#include <QHostAddress>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A listener on the console port whose accept queue is full: a connection attempt to it stays
// pending until it is given up.
class BlackHole
{
public:
    BlackHole()
    {
        address = qx8test::uniqueLoopbackAddress();
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(19272);
        where.sin_addr.s_addr = htonl(address.toIPv4Address());
        ok = ::bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 &&
             ::listen(listener, 0) == 0;
        for (int i = 0; ok && i < 3; ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
            ::fcntl(filler, F_SETFL, O_NONBLOCK);
            ::connect(filler, reinterpret_cast<sockaddr*>(&where), sizeof where);
            fillers.push_back(filler);
        }
    }
    ~BlackHole()
    {
        for (int filler : fillers)
            ::close(filler);
        ::close(listener);
    }
    BlackHole(const BlackHole&) = delete;
    BlackHole& operator=(const BlackHole&) = delete;

    QHostAddress address;
    int listener = -1;
    bool ok = false;
    std::vector<int> fillers;
};
