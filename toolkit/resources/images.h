// The toolkit's built-in pictures as XPM data compiled into the library, and
// the table the start-up loads them from, in the order of g_tessel.images.
#ifndef TSL_RESOURCES_IMAGES_H
#define TSL_RESOURCES_IMAGES_H

#include "tessel.h"

// In a namespace of their own: programs linking the library (the viewer
// among them) keep the res_ names for their own pictures.
namespace tsl_res {

extern char* res_arrowUp[];
extern char* res_arrowDw[];
extern char* res_arrowLt[];
extern char* res_arrowRt[];
extern char* res_upfolder[];
extern char* res_folder[];
extern char* res_save[];
extern char* res_saveas[];
extern char* res_file[];
extern char* res_quit[];
extern char* res_check[];
extern char* res_link[];
extern char* res_question[];
extern char* res_attention[];
extern char* res_error[];
extern char* res_warning[];
extern char* res_info[];
extern char* res_tessel[];
extern char* res_logo[];
extern char* res_logomono[];
extern char* res_glancer[];

}  // namespace tsl_res

// Index i holds the data of g_tessel.images[i].
extern char** const tsl_builtin_images[TSL_IMAGE_COUNT];

#endif
