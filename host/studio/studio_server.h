// The studio's web server: the page and its files, and the JSON and image requests the page
// makes of a StudioDocument. It listens on the loopback interface only and refuses any peer that
// is not this computer, and any request whose Host is not a loopback name (a page elsewhere
// cannot reach it through a name that resolves here). Unknown paths, wrong methods and malformed
// bodies get a JSON answer {"error": ...} with a 4xx status; a failing frame gets 500 and the
// server goes on.
#pragma once

#include "studio/studio_document.h"

#include <memory>
#include <string>

namespace plurion::host {

// 127.0.0.0/8, ::1, and IPv4 loopback written as IPv6 (::ffff:127.x.y.z).
bool IsLoopbackAddress(const std::string& address);
// "localhost", "127.0.0.1" or "[::1]", with or without ":port".
bool IsLoopbackHost(const std::string& host_header);

class StudioServer {
  public:
    explicit StudioServer(StudioDocument& document);
    ~StudioServer();
    StudioServer(const StudioServer&) = delete;
    StudioServer& operator=(const StudioServer&) = delete;

    // Binds 127.0.0.1 at `port` (0: a free one) and returns the port; throws when it is taken.
    int bind(int port);
    // Serves until stop(); call after bind().
    void listen();
    void stop();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plurion::host
