#include "server.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>

#include <httplib.h>

#include "content.h"
#include "routing.h"
#include "share_simulator/addresses.h"
#include "transport_faults.h"

namespace share_simulator {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

void Respond(const Answer& answer, httplib::Response& response) {
  if (!answer.download) {
    response.status = answer.status;
    response.set_content(answer.body, answer.contentType);
    return;
  }
  // The status stays unset: the library then answers 200, or 206 for a range request.
  const ServedFile* file = answer.download;
  response.set_header("Content-Disposition", "attachment; filename*=UTF-8''" + PercentEscape(file->name));
  if (file->size == 0) {
    response.set_content("", answer.contentType);
    return;
  }
  // One chunk per call, produced on demand: the file is never held whole.
  response.set_content_provider(
      static_cast<std::size_t>(file->size), answer.contentType,
      [file](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        std::string chunk(std::min(length, kChunk), '\0');
        FillContent(file->seed, file->size, offset, chunk.data(), chunk.size());
        return sink.write(chunk.data(), chunk.size());
      });
}

}  // namespace

Server::Server(bool quiet) : http_(std::make_unique<httplib::Server>()), quiet_(quiet) {
  // Short idle keep-alive, so that a stop is not held up by an idle client's connection.
  http_->set_keep_alive_timeout(1);
  // The library's default is SO_REUSEPORT, with which a second simulator on a port in use
  // would silently share it with the first. SO_REUSEADDR alone still allows a quick restart.
  http_->set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

Server::~Server() = default;

int Server::Bind(int port) {
  if (port == 0) return http_->bind_to_any_port(std::string(kLoopback));
  return http_->bind_to_port(std::string(kLoopback), port) ? port : -1;
}

void Server::Serve(const Site& site) {
  auto handler = [this, &site](const httplib::Request& request, httplib::Response& response) {
    const std::string host = request.get_header_value("Host");
    const Answer answer = Route(site, {request.method, host, request.path, request.body});
    if (answer.fault != Fault::None) {
      RespondWithFault(answer, request, response, [this] { return !stopping_.load(); });
    } else {
      Respond(answer, response);
    }
  };
  http_->Get(".*", handler);
  http_->Post(".*", handler);
  if (!quiet_) {
    http_->set_logger([mutex = std::make_shared<std::mutex>()](const httplib::Request& request,
                                                              const httplib::Response& response) {
      std::string line = request.method + " " + request.get_header_value("Host") + " " + request.path + " " +
                         std::to_string(response.status) + "\n";
      std::lock_guard<std::mutex> lock(*mutex);
      std::fputs(line.c_str(), stderr);
    });
  }
  http_->listen_after_bind();
}

void Server::Stop() {
  stopping_ = true;
  http_->stop();
}

}  // namespace share_simulator
