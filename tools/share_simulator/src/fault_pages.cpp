#include "fault_pages.h"

namespace share_simulator {
namespace {

// Openings of fields the service's patterns look for, none of them ever closed: each one
// sends a lazy group to the end of the page before the search may give it up. (Baidu's
// openings end in the closing of its other fields, so each half holds one kind.)
std::string WorstCaseFiller(Service service, std::size_t size) {
  const std::string xunlei = "key\" value='k checked\"   file_name=\"a file_url=\"b checked=\"checked\"   file_name=\"c ";
  const std::string baiduAddress = "dlink\\\":\\\"x ", baiduName = "filename=y ";
  std::string filler;
  filler.reserve(size + xunlei.size());
  while (filler.size() < size) {
    if (service != Service::Baidu) {
      filler += xunlei;
    } else {
      filler += filler.size() < size / 2 ? baiduAddress : baiduName;
    }
  }
  filler.resize(size);
  return filler;
}

// A member whose value the object literal computes: the script runs while it is read.
std::string WithComputedMember(std::string page, const std::string& member) {
  const std::string end = "};</script>";
  const std::size_t at = page.find(end);
  if (at == std::string::npos) return page;
  return page.insert(at, ",\"extra\":" + member);
}

}  // namespace

bool IsTransportFault(Fault fault) {
  switch (fault) {
    case Fault::EndlessBody:
    case Fault::Silent:
    case Fault::ResetMidBody:
    case Fault::RedirectLoop:
    case Fault::HugeHeaders:
    case Fault::BrokenChunks:
    case Fault::Garbage: return true;
    default: return false;
  }
}

std::string WithPageFault(const ServedShare& served, std::string page) {
  switch (served.share->fault) {
    case Fault::RegexWorstCase: {
      // The fields stay where they are; the filler follows them, so only searches past the
      // share's own match meet it.
      const std::size_t at = page.rfind("</body>");
      return page.insert(at == std::string::npos ? page.size() : at, WorstCaseFiller(served.share->service, served.share->faultBytes));
    }
    case Fault::ScriptForever: return WithComputedMember(std::move(page), "(function(){for(;;){}})()");
    case Fault::HugeArray:
      return WithComputedMember(std::move(page), "(function(){var a=[];for(var i=0;i<1e9;i++)a.push([i]);return a;})()");
    default: return page;
  }
}

std::string WithAnswerFault(const ServedShare& served, std::string answer) {
  if (served.share->fault != Fault::HugeAnswer || answer.empty() || answer.back() != '}') return answer;
  // A member of padding at the end, so the answer is exactly the size a page read stops at.
  const std::string head = ",\"padding\":\"";
  const std::string tail = "\"}";
  answer.pop_back();
  const std::size_t fixed = answer.size() + head.size() + tail.size();
  if (fixed < kHugeAnswerBytes) answer += head + std::string(kHugeAnswerBytes - fixed, 'x') + tail;
  return answer;
}

}  // namespace share_simulator
