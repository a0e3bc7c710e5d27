#pragma once
// httplib's servers bind with SO_REUSEPORT, so a server of another test
// process (CTest runs them side by side) can bind the same loopback port and
// take part of its connections: a request then reaches the wrong server. The
// test servers bind their port alone.
#include <httplib.h>
#include <sys/socket.h>

namespace testsupport {

inline void BindPortAlone(httplib::Server& server) {
  server.set_socket_options([](socket_t socket) {
    int yes = 1;
    // Bound again at once after the port's earlier server closed.
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

}  // namespace testsupport
