// Resource ids of tamrin.ocx (shared by tamrin.rc and the code; plain #defines only).
#pragma once

#define IDB_ZINTRIX_TOOLBOX 101   // 16 x 16 toolbox bitmap
#define IDD_ABOUTBOX 205          // About box dialog
#define IDI_ZINTRIX 205           // the control's icon (About box and design-time drawing)
#define IDC_HAND_LINK 206         // hand cursor over the About box links
#define IDR_TAMRIN_VXD 207        // BINARY: the Windows 9x virtual device (tm.vxd)
#define IDR_TAMRIN_SYS 208        // BINARY: the NT kernel driver (tamrin.sys)

// Controls of the About box.
#define IDC_ABOUT_NOTICE 201
#define IDC_ABOUT_EMAIL_LABEL 202
#define IDC_ABOUT_PRODUCT 203
#define IDC_ABOUT_WWW_LABEL 204
#define IDC_ABOUT_WEB_LINK 211
#define IDC_ABOUT_EMAIL_LINK 212
#define IDC_ABOUT_PRODUCT_LINK 213
