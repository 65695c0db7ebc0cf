// The table of built-in pictures in the order of g_tessel.images.
#include "resources/images.h"

using namespace tsl_res;

char** const tsl_builtin_images[TSL_IMAGE_COUNT] = {
    res_arrowUp,  res_arrowDw,   res_arrowLt,  res_arrowRt,   res_upfolder, res_folder,
    res_save,     res_saveas,    res_file,     res_quit,      res_check,    res_link,
    res_question, res_attention, res_error,    res_warning,   res_info,     res_tessel,
    res_logo,     res_logomono,  res_glancer,
};
