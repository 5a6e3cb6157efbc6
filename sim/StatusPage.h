// The stand-in's small web server: one status page on 127.0.0.1 at the instance's port.
#pragma once

#include <string>

struct StatusPageInfo {
    std::string instance;  // "3", or "?" when unknown
    std::string mac;
    std::string port;
    std::string netconfPortSsh;
    std::string folder;
    std::string startupFile;
    std::string imageType;
    std::string repository;
};

// Starts the server thread; returns false (and says why in error) when the port cannot
// be bound. The thread serves until the process ends.
bool StartStatusPage(const StatusPageInfo& info, unsigned short port, std::string& error);

// The HTML page for the given uptime.
std::string RenderStatusPage(const StatusPageInfo& info, unsigned long long uptimeSeconds);
