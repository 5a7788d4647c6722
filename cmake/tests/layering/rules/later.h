#pragma once
  #  include "storage/connection.h"
