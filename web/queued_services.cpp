#include "web/queued_services.h"

#include "report/batch_output.h"

std::string tQueuedServices::Json() const {
  std::string out = "\"boxes\":[";
  for (std::size_t i = 0; i < boxes.size(); ++i)
    out += std::string(i ? "," : "") + "{\"kind\":" + std::to_string(static_cast<int>(boxes[i].kind)) +
           ",\"caption\":" + JsonString(boxes[i].caption) + ",\"text\":" + JsonString(boxes[i].text) + "}";
  return out + "],\"beeps\":" + std::to_string(beeps);
}
