// Template of the list tests' host dialog: the list as the main dialog has it.
#define IDD_LIST_HOST 210
#define IDC_HOST_LIST 310
