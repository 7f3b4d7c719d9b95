/* Body of the DLLs that only carry a prepared version resource. */
int vantrel_resource_only_dll;
