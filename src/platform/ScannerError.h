#pragma once
// The failure of a scanner operation; what() carries the device's reason (for the log).

#include <stdexcept>
#include <string>

class ScannerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
