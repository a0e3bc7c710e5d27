#pragma once
// httplib's servers bind with SO_REUSEPORT, so another process's server (CTest
// runs tests side by side) can be given the same loopback port and take part
// of its connections: a request then reaches the wrong server, or breaks off
// when that server ends. The stand-in service and the test servers bind their
// port alone.
#include <httplib.h>
#include <sys/socket.h>

namespace quote_service {

inline void BindPortAlone(httplib::Server& server) {
  server.set_socket_options([](socket_t socket) {
    int yes = 1;
    // Bound again at once after the port's earlier server closed.
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

}  // namespace quote_service
