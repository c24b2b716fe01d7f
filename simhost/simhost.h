// The substitute host: an in-memory score behind the host's services.
#pragma once

#include "simhost/host.h"
#include "simhost/testservices.h"
