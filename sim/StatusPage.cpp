#include "StatusPage.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <string>
#include <thread>

namespace {

ULONGLONG startTick = GetTickCount64();

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

void Serve(SOCKET listener, StatusPageInfo info) {
    for (;;) {
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            Sleep(100);
            continue;
        }
        DWORD timeout = 2000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 8192) {
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, got);
        }
        const std::string body = RenderStatusPage(info, (GetTickCount64() - startTick) / 1000);
        const bool head = request.rfind("HEAD ", 0) == 0;
        std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=windows-1252\r\nContent-Length: " +
                               std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
        if (!head) response += body;
        size_t sent = 0;
        while (sent < response.size()) {
            const int n = send(client, response.data() + sent, static_cast<int>(response.size() - sent), 0);
            if (n <= 0) break;
            sent += n;
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}

}  // namespace

std::string RenderStatusPage(const StatusPageInfo& info, unsigned long long uptimeSeconds) {
    std::string rows;
    auto row = [&rows](const char* name, const std::string& value) {
        rows += "<tr><th>" + std::string(name) + "</th><td>" + Escape(value) + "</td></tr>\n";
    };
    row("Instance", info.instance);
    row("MAC address", info.mac);
    row("Web server port", info.port);
    row("NETCONF SSH port", info.netconfPortSsh);
    row("Folder", info.folder);
    row("Startup file", info.startupFile);
    row("Image type", info.imageType);
    row("Repository", info.repository);
    row("Uptime", std::to_string(uptimeSeconds) + " s");
    return "<!DOCTYPE html>\n<html><head><title>QEL " + Escape(info.instance) +
           " - TRX9420 evaluation device</title>\n"
           "<style>body{font-family:sans-serif;margin:2em}th{text-align:left;padding-right:1em}</style></head>\n"
           "<body><h1>QEL " + Escape(info.instance) + "</h1>\n<p>TRX9420 evaluation device (stand-in backend), running.</p>\n"
           "<table>\n" + rows + "</table></body></html>\n";
}

bool StartStatusPage(const StatusPageInfo& info, unsigned short port, std::string& error) {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        error = "WSAStartup failed";
        return false;
    }
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        error = "socket failed: " + std::to_string(WSAGetLastError());
        return false;
    }
    // The listening socket must not leak into processes this one might start.
    SetHandleInformation(reinterpret_cast<HANDLE>(listener), HANDLE_FLAG_INHERIT, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 8) != 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(port) + " (error " + std::to_string(WSAGetLastError()) + ")";
        closesocket(listener);
        return false;
    }
    std::thread(Serve, listener, info).detach();
    return true;
}
