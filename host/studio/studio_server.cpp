#include "studio/studio_server.h"

#include "studio/studio_page.h"

#include <httplib.h>

#include <charconv>
#include <functional>

namespace plurion::host {
namespace {

using nlohmann::json;

void SendJson(httplib::Response& res, const json& body, int status = 200) {
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(body.dump(), "application/json");
}

void SendError(httplib::Response& res, int status, const std::string& message,
               const std::string& field = "") {
    json body = {{"error", message}};
    if (!field.empty()) {
        body["field"] = field;
    }
    SendJson(res, body, status);
}

json BodyOf(const httplib::Request& req) {
    if (req.body.empty()) {
        return json::object();
    }
    try {
        json body = json::parse(req.body);
        if (!body.is_object()) {
            throw StudioError("request", "the request body must be a JSON object");
        }
        return body;
    } catch (const json::parse_error& error) {
        throw StudioError("request", std::string("the request body is not JSON: ") + error.what());
    }
}

// A whole number from the query; `fallback` when it is not there.
int QueryInt(const httplib::Request& req, const char* name, int fallback) {
    if (!req.has_param(name)) {
        return fallback;
    }
    const std::string text = req.get_param_value(name);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        throw StudioError(name, std::string("\"") + name + "\" must be a whole number, not \"" +
                                    text + "\"");
    }
    return value;
}

std::string Base64(const std::string& bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1) {
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (left > 2) {
            group |= static_cast<unsigned char>(bytes[i + 2]);
        }
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        out += left > 2 ? kDigits[group & 63] : '=';
    }
    return out;
}

// A change that asks for {"show": {"frame": F, "downsample": D}} gets the frame and the overlay
// after it in the same answer, as data URLs: one round trip from a change to its picture.
json WithPictures(StudioDocument& doc, const json& body, json answer) {
    const auto show = body.find("show");
    if (show == body.end() || !show->is_object()) {
        return answer;
    }
    const int frame = show->value("frame", 0);
    const int downsample = show->value("downsample", 1);
    const StudioImage image = doc.frame(frame, downsample);
    answer["frame_png"] = "data:image/png;base64," + Base64(image.png);
    answer["render_ms"] = image.render_ms;
    answer["overlay_png"] = "data:image/png;base64," + Base64(doc.overlay(frame, downsample).png);
    answer["revision"] = doc.revision();
    return answer;
}

void SendImage(httplib::Response& res, const StudioImage& image, std::uint64_t revision) {
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Render-Ms", std::to_string(image.render_ms));
    res.set_header("X-Revision", std::to_string(revision));
    res.set_content(image.png, "image/png");
}

} // namespace

bool IsLoopbackAddress(const std::string& address) {
    if (address == "::1") {
        return true;
    }
    std::string v4 = address;
    if (v4.rfind("::ffff:", 0) == 0) {
        v4 = v4.substr(7);
    }
    // Four dotted numbers 0-255, the first 127.
    int parts[4] = {-1, -1, -1, -1};
    const char* at = v4.data();
    const char* end = v4.data() + v4.size();
    for (int i = 0; i < 4; ++i) {
        const auto [next, error] = std::from_chars(at, end, parts[i]);
        if (error != std::errc{} || next == at || parts[i] < 0 || parts[i] > 255) {
            return false;
        }
        at = next;
        if (i < 3) {
            if (at == end || *at != '.') {
                return false;
            }
            ++at;
        }
    }
    return at == end && parts[0] == 127;
}

bool IsLoopbackHost(const std::string& host_header) {
    std::string host = host_header;
    if (!host.empty() && host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string::npos) {
            return false;
        }
        const std::string rest = host.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') {
            return false;
        }
        return host.substr(1, close - 1) == "::1";
    }
    if (const auto colon = host.find(':'); colon != std::string::npos) {
        const std::string port = host.substr(colon + 1);
        if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        host = host.substr(0, colon);
    }
    return host == "localhost" || IsLoopbackAddress(host);
}

struct StudioServer::Impl {
    explicit Impl(StudioDocument& d) : document(d) {}
    StudioDocument& document;
    httplib::Server server;
};

StudioServer::StudioServer(StudioDocument& document) : impl_(std::make_unique<Impl>(document)) {
    httplib::Server& server = impl_->server;
    StudioDocument& doc = document;

    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!IsLoopbackAddress(req.remote_addr)) {
            SendError(res, 403, "the studio answers this computer only, not " + req.remote_addr);
            return httplib::Server::HandlerResponse::Handled;
        }
        if (!IsLoopbackHost(req.get_header_value("Host"))) {
            SendError(res, 403,
                      "the studio answers requests for localhost or 127.0.0.1 only, not for \"" +
                          req.get_header_value("Host") + "\"");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const StudioError& error) {
                SendError(res, error.status(), error.what(), error.field());
            } catch (const std::exception& error) {
                SendError(res, 500, error.what());
            } catch (...) {
                SendError(res, 500, "unknown failure");
            }
        });
    server.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
        if (res.status == 404 && res.body.empty()) {
            SendError(res, 404, "no such page: " + req.method + " " + req.path);
        } else if (res.body.empty()) {
            SendError(res, res.status,
                      "the request could not be read (status " + std::to_string(res.status) + ")");
        }
    });

    server.set_payload_max_length(std::size_t{256} << 20);
    server.set_tcp_nodelay(true); // small answers go out at once, not after a delayed ack

    const auto page = [](const httplib::Request& req, httplib::Response& res) {
        const StudioFile* file = FindStudioFile(req.path == "/" ? "/index.html" : req.path);
        if (file == nullptr) {
            SendError(res, 404, "no such page: " + req.method + " " + req.path);
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(std::string(file->bytes), std::string(file->type).c_str());
    };
    server.Get("/", page);
    server.Get(R"(/[a-z_]+\.(html|js|css|png))", page);

    server.Get("/api/state", [&doc](const httplib::Request&, httplib::Response& res) {
        SendJson(res, doc.state());
    });
    server.Get("/api/frame", [&doc](const httplib::Request& req, httplib::Response& res) {
        const int frame = QueryInt(req, "frame", 0);
        const int downsample = QueryInt(req, "downsample", 1);
        const StudioImage image = doc.frame(frame, downsample);
        SendImage(res, image, doc.revision());
        if (const int ahead = QueryInt(req, "ahead", 0); ahead > 0) {
            doc.render_ahead(frame, std::min(ahead, 64), downsample);
        }
    });
    server.Get("/api/overlay", [&doc](const httplib::Request& req, httplib::Response& res) {
        SendImage(res, doc.overlay(QueryInt(req, "frame", 0), QueryInt(req, "downsample", 1)),
                  doc.revision());
    });
    const auto post = [&server](const char* path, std::function<json(const json&)> handle) {
        server.Post(path, [handle](const httplib::Request& req, httplib::Response& res) {
            SendJson(res, handle(BodyOf(req)));
        });
    };
    post("/api/edit", [&doc](const json& body) { return WithPictures(doc, body, doc.edit(body)); });
    post("/api/key", [&doc](const json& body) { return doc.key(body); });
    post("/api/mouse", [&doc](const json& body) { return doc.mouse(body); });
    post("/api/layer/add", [&doc](const json& body) { return doc.add_layer(body); });
    post("/api/layer/remove", [&doc](const json& body) { return doc.remove_layer(body); });
    post("/api/save", [&doc](const json& body) { return doc.save(body); });
    post("/api/load", [&doc](const json& body) { return doc.load(body); });
    post("/api/export", [&doc](const json& body) { return doc.start_export(body); });
    server.Post("/api/upload", [&doc](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("name")) {
            throw StudioError("layer", "the upload needs ?name=FILE");
        }
        SendJson(res, doc.upload(req.get_param_value("name"), req.body));
    });
    server.Get("/api/export", [&doc](const httplib::Request&, httplib::Response& res) {
        SendJson(res, doc.export_status());
    });
}

StudioServer::~StudioServer() = default;

int StudioServer::bind(int port) {
    httplib::Server& server = impl_->server;
    const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1")
                                : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound < 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) +
                                 " (is it taken?)");
    }
    return bound;
}

void StudioServer::listen() {
    impl_->server.listen_after_bind();
}

void StudioServer::stop() {
    impl_->server.stop();
}

} // namespace plurion::host
