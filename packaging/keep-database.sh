# If a database file has taken the place of the program folder's link (moved or
# copied over it with a tool that does not follow links), the package manager
# would delete or overwrite it with the link: move it to where the link points.
keep_database_in_place_of_link() {
    if [ -f "@VORIMEL_DATABASE_LINK@" ] && [ ! -L "@VORIMEL_DATABASE_LINK@" ]; then
        mkdir -p "@VORIMEL_STATE_DIR@"
        mv -f "@VORIMEL_DATABASE_LINK@" "@VORIMEL_STATE_DIR@/pcs.mdb"
        echo "vorimel: moved the database found in place of @VORIMEL_DATABASE_LINK@ to @VORIMEL_STATE_DIR@/pcs.mdb"
    fi
}
