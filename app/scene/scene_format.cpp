#include "app/scene/scene_format.h"

#include "fs/text.h"

// The fixed blocks, byte for byte: CR LF line ends, trailing blanks kept.
const std::string_view kSceneHeader =
    "//  POV view image directories  - folio_lantern\r\n"
    "//  t.wendrake  7.18.2026\r\n"
    "\r\n"
    "#include \"shapes.inc\" \r\n"
    "#include \"shapes2.inc\" \r\n"
    "#declare anno_font =        \"ARIAL.TTF\" ;      \r\n"
    "#declare font_data =        \"crystal.ttf\" ;   // cyrvetic.ttf\r\n"
    "#declare font_size =        .04 ;\r\n"
    "#declare image_count =      0;\r\n"
    "#declare image_gap =        1.1;\r\n"
    "#declare current_image =    0;\r\n"
    "#declare _emission =        1 ;\r\n"
    "#declare _gamma =           2.2 ;\r\n"
    "\r\n"
    "#declare array_images =     array mixed [2000][12] ;\r\n"
    "#declare M_gray70 =         material { texture { pigment { rgb .7 } finish { emission 1 } } };\r\n"
    "\r\n"
    "\r\n"
    "#macro make_image ( _name, _emission, _gamma, _ext, _type )\r\n"
    "texture {\r\n"
    "    pigment { \r\n"
    "        image_map { \r\n"
    "            #if ( _ext = \"hdr\") hdr  #end\r\n"
    "            #if ( _ext = \"png\") png  #end\r\n"
    "            #if ( _ext = \"jpg\") jpeg #end \r\n"
    "            _name \r\n"
    "            gamma _gamma \r\n"
    "            map_type _type \r\n"
    "            interpolate 4 \r\n"
    "            } \r\n"
    "        } \r\n"
    "    finish  { emission _emission}\r\n"
    "    }\r\n"
    "#end\r\n"
    "\r\n"
    "\r\n"
    "#macro add_image ( _name, _x, _y )\r\n"
    "    #declare f=0;\r\n"
    "    //  find last foward slash\r\n"
    "    #for (i, 1, strlen(_name))\r\n"
    "        #declare _slash = substr(_name, i,1) ;\r\n"
    "        #if (_slash = \"/\")   #declare f = i;   #end    \r\n"
    "    #end\r\n"
    "           \r\n"
    "    #if ( f > 0 )\r\n"
    "        #declare _img_name = substr(_name, f+1, strlen(_name)-f);\r\n"
    "        #declare _img_dir  = substr(_name, 1, f );\r\n"
    "    #else\r\n"
    "       #declare _img_name = _name ; \r\n"
    "       #declare _img_dir = 0 ;\r\n"
    "    #end\r\n"
    "    \r\n"
    "    #declare _img_ext = substr(_name, strlen(_name)-2,3) ;\r\n"
    "    #declare _img_mat = material { make_image ( _name, _emission, _gamma, _img_ext, 0 ) } ;\r\n"
    "    #declare _img_obj = box { <0,0,0>, <1,1,1> material { _img_mat } } ;\r\n"
    "\r\n"
    "    #declare img_aspect = _y/_x ;\r\n"
    "\r\n"
    "    #declare array_images[image_count][0] = _name ;\r\n"
    "    #declare array_images[image_count][1] = _img_name ;\r\n"
    "    #declare array_images[image_count][2] = _img_ext ;\r\n"
    "    #declare array_images[image_count][3] = _img_dir ;\r\n"
    "    #declare array_images[image_count][4] = _img_mat ;\r\n"
    "    #declare array_images[image_count][5] = _x ;\r\n"
    "    #declare array_images[image_count][6] = _y ;\r\n"
    "    #declare array_images[image_count][7] = _img_obj ;\r\n"
    "    #declare array_images[image_count][8] = concat( str(image_count,0,0), \".  \" , _img_name ) ;\r\n"
    "    #declare array_images[image_count][9] = concat( str(_x,0,0), \" x \" , str(_y,0,0), \"   ratio \" , "
    "str(img_aspect,0,2)) ;\r\n"
    "    #declare array_images[image_count][10] = img_aspect ;\r\n"
    "\r\n"
    "    #declare image_count = image_count + 1;\r\n"
    "    #debug concat ( _img_name, \"\\n\" )\r\n"
    "#end\r\n"
    "\r\n";

const std::string_view kSceneFooter =
    "\r\n"
    "//  union of all images with text tag\r\n"
    "#declare img_array = \r\n"
    "union {\r\n"
    "    #for (i,0,image_count-1)\r\n"
    "        #declare nx = x*(i*image_gap) ;\r\n"
    "        object { array_images[i][7] scale y*array_images[i][10] translate x*nx }    \r\n"
    "        text { \r\n"
    "            ttf font_data, \r\n"
    "            array_images[i][8] 0, 0 \r\n"
    "            material { M_gray70 } \r\n"
    "            scale font_size \r\n"
    "            translate x*nx\r\n"
    "            translate y*-(font_size*1.5)\r\n"
    "            }\r\n"
    "        text { \r\n"
    "            ttf font_data, \r\n"
    "            array_images[i][9] 0, 0 \r\n"
    "            material { M_gray70 } \r\n"
    "            scale font_size \r\n"
    "            translate x*nx\r\n"
    "            translate y*-(font_size*2.5)\r\n"
    "            }\r\n"
    "    #end\r\n"
    "}\r\n"
    "\r\n"
    "//  current image \r\n"
    "union {\r\n"
    "    object { array_images[current_image][7] scale 1.1 scale y*array_images[current_image][10] }\r\n"
    "        text { \r\n"
    "            ttf font_data, \r\n"
    "            array_images[current_image][8] 0, 0 \r\n"
    "            material { M_gray70 } \r\n"
    "            scale font_size \r\n"
    "            translate y*-(font_size*1.25)\r\n"
    "            }\r\n"
    "        text { \r\n"
    "            ttf font_data, \r\n"
    "            array_images[current_image][9] 0, 0 \r\n"
    "            material { M_gray70 } \r\n"
    "            scale font_size \r\n"
    "            translate y*-(font_size*2.3)\r\n"
    "            } \r\n"
    "     translate <0,.33,0>      \r\n"
    "}\r\n"
    "\r\n"
    "//  image array\r\n"
    "object { img_array scale .5 translate < -(current_image*image_gap)/2,-.3,0> }\r\n"
    "\r\n"
    "\r\n"
    "text { \r\n"
    "    ttf font_data, \r\n"
    "    concat ( str(image_count,0,0) , \"  images\" ) 0,0\r\n"
    "    material { M_gray70 } \r\n"
    "    scale font_size  \r\n"
    "    translate <-1.2, 1.3, 0>\r\n"
    "    }\r\n"
    "\r\n"
    "text { \r\n"
    "    ttf font_data, \r\n"
    "    concat ( \"current image : \", str(current_image,0,0) ) 0,0\r\n"
    "    material { M_gray70 } \r\n"
    "    scale font_size \r\n"
    "    translate <-1.2, 1.25, 0>\r\n"
    "    }\r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    "//______________________________________________________________________________________________________\r\n"
    "//\r\n"
    "//          C A M E R A\r\n"
    "//______________________________________________________________________________________________________\r\n"
    "\r\n"
    "#declare cam_right =            <image_width/image_height, 0, 0>  ;\r\n"
    "#declare cam_x =                .5;\r\n"
    "#declare cam_y =                .5;\r\n"
    "#declare cam_location =         < cam_x, cam_y,  -1000 > ;\r\n"
    "#declare cam_look_at  =         < cam_x, cam_y,  0 > ;\r\n"
    "\r\n"
    "#declare cam = camera \r\n"
    "    { orthographic\r\n"
    "      right cam_right\r\n"
    "      location cam_location\r\n"
    "      look_at  cam_look_at\r\n"
    "      angle .2               \r\n"
    "   } \r\n"
    "   \r\n"
    "camera{cam} ";

SceneBlocks SceneBlocksFor(PovVersion version) {
  if (version == PovVersion::Pov37) return {kSceneHeader37, kSceneFooter37};
  return {kSceneHeader, kSceneFooter};
}

namespace {

// The path inside the line's quotes, with the characters that would end or break the
// string written as escapes; every other character stays as it is.
std::u16string QuotedName(const std::u16string& path) {
  std::u16string quoted;
  quoted.reserve(path.size());
  for (const char16_t unit : path) {
    switch (unit) {
      case u'"':
        quoted += u"\\\"";
        break;
      case u'\\':
        quoted += u"\\\\";
        break;
      case u'\n':
        quoted += u"\\n";
        break;
      case u'\r':
        quoted += u"\\r";
        break;
      default:
        quoted += unit;
    }
  }
  return quoted;
}

}  // namespace

std::u16string AddImageLine(const std::u16string& relative_path, int64_t width, int64_t height) {
  return u"add_image ( \"" + QuotedName(relative_path) + u"\", " + DecimalText(width) + u", " + DecimalText(height) +
         u" ) ";
}
