// Templates of the framework's own tests.
#define IDD_TEST_OUTER 200
#define IDD_TEST_INNER 201
#define IDC_TEST_BUTTON 300
#define IDC_TEST_LIST 301
#define IDC_TEST_EDIT 302
