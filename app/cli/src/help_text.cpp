#include "help_text.h"

namespace cli {

std::string HelpText() {
  return R"(Usage: panlift-cli [OPTIONS] LINK...
       panlift-cli [OPTIONS] -a FILE

Resolve share links of Xunlei Kuaichuan, Baidu Pan and 360 Pan into direct download
addresses. Each link goes through Panlift's own window, without a display: the service's
radio box is checked, the link typed into its box and "解析" clicked; what the five
output boxes then show is printed, in UTF-8.

The service of a link comes from its host:
  kuai.xunlei.com                              xunlei (Xunlei Kuaichuan)
  pan.baidu.com, yun.baidu.com                 baidu  (Baidu Pan)
  yunpan.cn, *.yunpan.cn, yunpan.360.cn        360    (360 Pan)

Options:
  -a, --batch-file FILE  read links from FILE, one a line ("-": standard input);
                         blank lines and lines starting with "#" are skipped
  -s, --service NAME     resolve every link with this service (xunlei, baidu or
                         360), whatever its host
  -g, --get-url          print only the download address, one line per link that
                         gave one
  -j, --dump-json        print one JSON object per link and line, with the members
                         link, service, ok (true when an address was found), url,
                         name, extension, size and hash
      --print FORM       print, for each link that gave an address, a command or
                         input for a downloader: "curl" gives "curl -L -o NAME URL"
                         quoted for the shell, "aria2" gives aria2's input-file
                         form (the URL, then "  out=NAME"; use aria2c -i -)
      --proxy URL        the HTTP proxy for this run, as the system's proxy setting
                         (requests that use that setting go through it; "" for
                         none, whatever the environment names)
  -q, --quiet            no progress line and no per-link messages on standard error
  -v, --verbose          each HTTP request, and its status, on standard error
  -h, --help             show this help and exit
      --version          show the version and exit

Without -g, -j or --print, each link prints six lines and a blank one:
  link: LINK
  name: FILE NAME
  extension: DESCRIBED TYPE
  size: SIZE
  hash: HASH
  url: DOWNLOAD ADDRESS

While a batch of more than one link runs on a terminal, a progress line (link n of N)
shows on standard error. Links are resolved one after the other.

Exit status:
  0  every link gave a download address
  1  a link gave none (an unknown host, a failed request, a message of the service,
     shown on standard error); the other links are still printed
  2  a usage error: an unknown option, no link, an unreadable batch file

Examples:
  panlift-cli http://kuai.xunlei.com/d/ABCDEF
  panlift-cli -g -a links.txt
  panlift-cli -j http://pan.baidu.com/s/1abcde | jq -r .url
  panlift-cli --print aria2 -a links.txt | aria2c -i -
  panlift-cli -s 360 http://127.0.0.1:8080/abc
)";
}

std::string VersionText() { return std::string("panlift-cli ") + PANLIFT_VERSION + "\n"; }

}  // namespace cli
