#pragma once

#include <string>

#include <QString>

// The reason of a failed file operation in German, naming the file: "<errno text>".
QString FileErrorText(int error, const std::string& path);
