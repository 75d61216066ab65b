#pragma once

namespace kerfline::cli {

// kerfline-cli support-report [DESIGN...] -o OUT.html
int runSupportReport(int argc, char** argv);

}  // namespace kerfline::cli
