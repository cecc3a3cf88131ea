// A stop request (SIGINT or SIGTERM) seen by the checker, which then puts the
// camera back before it ends.
#pragma once

#include <stdexcept>

#include "StopSignal.h"

namespace check {

using hosts::StopSignal;

class Interrupted : public std::runtime_error {
public:
    Interrupted() : std::runtime_error("interrupted") {}
};

}  // namespace check
