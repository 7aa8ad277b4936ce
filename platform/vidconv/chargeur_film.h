// The movie module as the program sees it. The program starts without the
// codec libraries: the layer's calls (conversion_video.h, lecteur_film.h,
// indeo3.h) load libquorvel_vidconv.so from the program's folder on first use.
// When it cannot be loaded they fail, and check_error() and last_error_text()
// tell why ("The movie libraries could not be loaded: ...").
#pragma once

#include <string>

namespace platform::vcv {

// The module's path: beside the running program.
std::string movie_module_path();
// Whether the module is loaded in this process (nothing asks it to be before a
// movie is made, read or coded).
bool movie_module_loaded();
// Empty while the module is loaded or not yet asked for; otherwise the
// message that says why it could not be loaded.
std::string movie_module_error();
// Why the file at `path` cannot be a whole shared object (a copy or an update
// cut short): its ELF header, program headers, segments or section headers
// end past the file's end. Empty when all lie inside it, and when the file
// cannot be read (loading it then says why). The module is refused with this
// reason before it is mapped: touching a mapped page past a file's end would
// end the program with SIGBUS.
std::string movie_module_fault(const std::string& path);

}  // namespace platform::vcv
