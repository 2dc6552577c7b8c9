// An HTTP server that a few stalled or careless local clients cannot take from everyone else:
// each connection has a thread of its own (up to a cap), a request must be read whole within a
// time limit or the connection is closed, however slowly its bytes trickle in, and a response
// that streams learns at once when its client has gone.
#pragma once
#include <httplib.h>

#include <chrono>
#include <cstddef>

namespace ReferenceHost {

struct ConnectionLimits {
	// From the first byte of a request to its last.
	std::chrono::milliseconds requestReading = std::chrono::seconds(3);
	// How long an idle connection waits for its next request.
	std::chrono::milliseconds idleWait = std::chrono::seconds(5);
	// Connections served at once; more wait for one of them to end.
	std::size_t mostConnections = 64;
};

class BoundedHttpServer final : public httplib::Server {
public:
	explicit BoundedHttpServer(ConnectionLimits limits = {});

private:
	bool process_and_close_socket(socket_t socket) override;

	ConnectionLimits limits;
};

} // namespace ReferenceHost
