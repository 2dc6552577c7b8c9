// The connection handling of the host's HTTP server: threads per connection, the request
// reading limit, and streams that notice a client gone.
#include "BoundedHttpServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ReferenceHost {

namespace {

using Clock = std::chrono::steady_clock;

// A wait for an idle connection's next request looks up this often to notice the server stop.
constexpr auto StopCheckInterval = std::chrono::milliseconds(100);
constexpr auto WriteLimit = std::chrono::seconds(5);

// One thread per connection, started when no thread is free, never more than the cap.
class ConnectionThreads final : public httplib::TaskQueue {
public:
	explicit ConnectionThreads(std::size_t most) : mostThreads(most) {}

	~ConnectionThreads() override { shutdown(); }

	void enqueue(std::function<void()> job) override
	{
		{
			std::lock_guard lock(mutex);
			jobs.push_back(std::move(job));
			if (idle < jobs.size() && threads.size() < mostThreads)
				threads.emplace_back([this] { Work(); });
		}
		jobWaiting.notify_one();
	}

	void shutdown() override
	{
		{
			std::lock_guard lock(mutex);
			if (ending)
				return;
			ending = true;
		}
		jobWaiting.notify_all();
		for (std::thread& thread : threads)
			thread.join();
	}

private:
	void Work()
	{
		std::unique_lock lock(mutex);
		for (;;) {
			++idle;
			jobWaiting.wait(lock, [this] { return ending || !jobs.empty(); });
			--idle;
			if (jobs.empty())
				return;
			std::function<void()> job = std::move(jobs.front());
			jobs.pop_front();
			lock.unlock();
			job();
			lock.lock();
		}
	}

	const std::size_t mostThreads;
	std::mutex mutex;
	std::condition_variable jobWaiting;
	std::deque<std::function<void()>> jobs;
	std::vector<std::thread> threads;
	std::size_t idle = 0;
	bool ending = false;
};

int Milliseconds(Clock::duration duration)
{
	const auto count = std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
	return count <= 0 ? 0 : static_cast<int>(std::min<long long>(count, 60'000));
}

// The events of the socket within timeout milliseconds; 0 when none came.
short Poll(socket_t socket, short events, int timeout)
{
	pollfd watched {socket, events, 0};
	int ready = 0;
	do
		ready = ::poll(&watched, 1, timeout);
	while (ready < 0 && errno == EINTR);
	return ready > 0 ? watched.revents : short(0);
}

void AddressOf(const sockaddr_storage& address, std::string& ip, int& port)
{
	char text[INET6_ADDRSTRLEN] = {};
	if (address.ss_family == AF_INET) {
		const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
		inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
		port = ntohs(v4.sin_port);
	} else if (address.ss_family == AF_INET6) {
		const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
		inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
		port = ntohs(v6.sin6_port);
	}
	ip = text;
}

// A connection's socket whose reading of a request ends at a deadline.
class ConnectionStream final : public httplib::Stream {
public:
	explicit ConnectionStream(socket_t connection) : socket_(connection) {}

	void StartRequest(std::chrono::milliseconds limit) { deadline = Clock::now() + limit; }

	bool is_readable() const override
	{
		return (Poll(socket_, POLLIN, Milliseconds(deadline - Clock::now())) & POLLIN) != 0;
	}

	// Writable, and the client still there: a client that has gone ends a stream at once.
	bool is_writable() const override
	{
		const short events = Poll(socket_, POLLOUT | POLLRDHUP, Milliseconds(WriteLimit));
		return (events & POLLOUT) != 0 && (events & (POLLRDHUP | POLLHUP | POLLERR)) == 0;
	}

	ssize_t read(char* bytes, size_t size) override
	{
		if (Clock::now() >= deadline ||
			(Poll(socket_, POLLIN, Milliseconds(deadline - Clock::now())) & (POLLIN | POLLHUP | POLLERR)) == 0)
			return -1;
		ssize_t got = 0;
		do
			got = ::recv(socket_, bytes, size, 0);
		while (got < 0 && errno == EINTR);
		return got;
	}

	ssize_t write(const char* bytes, size_t size) override
	{
		if (!is_writable())
			return -1;
		ssize_t sent = 0;
		do
			sent = ::send(socket_, bytes, size, MSG_NOSIGNAL);
		while (sent < 0 && errno == EINTR);
		return sent;
	}

	void get_remote_ip_and_port(std::string& ip, int& port) const override
	{
		sockaddr_storage address {};
		socklen_t length = sizeof address;
		if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
			AddressOf(address, ip, port);
	}

	void get_local_ip_and_port(std::string& ip, int& port) const override
	{
		sockaddr_storage address {};
		socklen_t length = sizeof address;
		if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
			AddressOf(address, ip, port);
	}

	socket_t socket() const override { return socket_; }

private:
	socket_t socket_;
	Clock::time_point deadline = Clock::now();
};

} // namespace

BoundedHttpServer::BoundedHttpServer(ConnectionLimits connectionLimits) : limits(connectionLimits)
{
	new_task_queue = [most = limits.mostConnections] { return new ConnectionThreads(most); };
}

bool BoundedHttpServer::process_and_close_socket(socket_t connection)
{
	ConnectionStream stream(connection);
	auto running = [this] { return svr_sock_ != INVALID_SOCKET; };
	// The next request has begun once a byte of it is there (or the client closed).
	auto requestBegun = [&] {
		const auto until = Clock::now() + limits.idleWait;
		while (running() && Clock::now() < until)
			if (Poll(connection, POLLIN, Milliseconds(StopCheckInterval)) != 0)
				return true;
		return false;
	};
	bool served = false;
	for (std::size_t left = keep_alive_max_count_; left > 0 && running() && requestBegun(); --left) {
		stream.StartRequest(limits.requestReading);
		bool closed = false;
		served = process_request(stream, left == 1, closed, nullptr);
		if (!served || closed)
			break;
	}
	::shutdown(connection, SHUT_RDWR);
	::close(connection);
	return served;
}

} // namespace ReferenceHost
