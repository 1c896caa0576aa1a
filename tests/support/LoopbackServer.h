// A cpp-httplib server on 127.0.0.1 with a free port, for the duration of
// one test. Handlers that stall call StallFor, which Release or Stop ends.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

class LoopbackServer {
 public:
  LoopbackServer() = default;
  ~LoopbackServer() { Stop(); }

  httplib::Server& server() { return m_server; }

  // Binds and starts serving; call after the handlers are set. A server
  // that cannot bind or does not start within 10 s fails the test.
  void Start() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
      ADD_FAILURE() << "the loopback server cannot bind";
      return;
    }
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!m_server.is_running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!m_server.is_running()) ADD_FAILURE() << "the loopback server did not start within 10 s";
  }

  void Stop() {
    m_released = true;
    if (m_thread.joinable()) {
      m_server.stop();
      m_thread.join();
    }
  }

  void Release() { m_released = true; }

  int port() const { return m_port; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
  }
  std::wstring WideUrl(const std::string& path) const {
    std::string url = Url(path);
    return std::wstring(url.begin(), url.end());
  }

  // Sleeps up to `limit` or until Release or Stop.
  void StallFor(std::chrono::seconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!m_released && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }

 private:
  httplib::Server m_server;
  std::thread m_thread;
  std::atomic<bool> m_released{false};
  int m_port = 0;
};
