"""The packages' tables, read back with msiinfo: product and upgrade codes,
version and listing, components and their files and registry entries, the
IconHandler actions and where they run, the major upgrade; and the two
guard builds the x64 package carries hold the same registration script."""
import argparse
import os
import subprocess
import sys
import uuid

CLSID = '{A45D89B4-2E99-4E4D-A719-D7AAB775D750}'
SYSTEM_HANDLER = '{00021401-0000-0000-C000-000000000046}'
CLASS_KEY = 'CLSID\\' + CLSID

failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append('%s:\n  expected %r\n  actual   %r' % (what, expected, actual))


def table(package, name):
    """The rows of a table as lists of column texts (header lines dropped)."""
    text = subprocess.run(['msiinfo', 'export', package, name], check=True,
                          capture_output=True).stdout.decode('utf-8')
    lines = text.replace('\r', '').split('\n')[3:]
    return [line.split('\t') for line in lines if line]


def keyed(package, name):
    return {row[0]: row[1:] for row in table(package, name)}


def registration(component, file_id):
    """The Registry rows of one guard build: its registration script's keys
    and values without the shared IconHandler values (custom actions)."""
    rows = [
        ('Corvane.CorvaneExt.1', '', 'CorvaneExt Class'),
        ('Corvane.CorvaneExt.1\\CLSID', '', CLSID),
        ('Corvane.CorvaneExt', '', 'CorvaneExt Class'),
        ('Corvane.CorvaneExt\\CLSID', '', CLSID),
        ('Corvane.CorvaneExt\\CurVer', '', 'Corvane.CorvaneExt.1'),
        (CLASS_KEY, '', 'CorvaneExt Class'),
        (CLASS_KEY + '\\ProgID', '', 'Corvane.CorvaneExt.1'),
        (CLASS_KEY + '\\VersionIndependentProgID', '', 'Corvane.CorvaneExt'),
        (CLASS_KEY + '\\InprocServer32', '', '[#%s]' % file_id),
        (CLASS_KEY + '\\InprocServer32', 'ThreadingModel', 'Apartment'),
        (CLASS_KEY + '\\TypeLib', '', '{7126CBA2-496F-4427-AA2A-1EEE35078251}'),
    ]
    return {('0', key, name, value, component) for key, name, value in rows}


def handler_actions(view, switch):
    """The reg.exe runs of one view: (name, type, source, target). Types:
    50 (an exe named by a property) + 2048 (no impersonation) + 1024 (in
    the script), for rollback + 256 and + 64 (its result not checked)."""
    actions = set()
    for kind in ('lnkfile', 'piffile'):
        short = kind[:3].capitalize()
        key = '"HKLM\\SOFTWARE\\Classes\\%s\\ShellEx\\IconHandler"' % kind
        previous = '"[QR_%s_HANDLER_%s]"' % (short.upper(), view)
        for prefix, kind_type, command in (
                ('Set', '3122', 'add %s /ve /t REG_SZ /d %s' % (key, CLSID)),
                ('UndoSet', '3442', 'add %s /ve /t REG_SZ /d %s' % (key, previous)),
                ('UndoAdd', '3442', 'delete %s /ve' % key),
                ('Restore', '3122', 'add %s /ve /t REG_SZ /d %s' % (key, SYSTEM_HANDLER)),
                ('UndoRestore', '3442', 'add %s /ve /t REG_SZ /d %s' % (key, CLSID))):
            actions.add(('%s%sHandler%s' % (prefix, short, view), kind_type, 'QR_REG_EXE',
                         '%s /f %s' % (command, switch)))
    return actions


def check_package(package, arch, version, upgrade_code, help_link):
    label = os.path.basename(package)
    views = [('64', '/reg:64'), ('32', '/reg:32')] if arch == 'x64' else [('32', ' ')]
    props = {k: v[0] for k, v in keyed(package, 'Property').items()}
    product_code = '{%s}' % str(uuid.uuid5(uuid.UUID(upgrade_code), version)).upper()
    expected_props = {
        'ProductCode': product_code, 'UpgradeCode': '{%s}' % upgrade_code,
        'ProductVersion': version, 'ProductName': 'Quorvex Remover',
        'Manufacturer': 'Halvorn Software', 'ARPHELPLINK': help_link, 'ALLUSERS': '1',
    }
    for name, value in expected_props.items():
        check('%s property %s' % (label, name), props.get(name), value)

    suminfo = subprocess.run(['msiinfo', 'suminfo', package], check=True,
                             capture_output=True).stdout.decode('utf-8')
    template = 'x64;1033' if arch == 'x64' else 'Intel;1033'
    check('%s platform' % label, 'Template: %s' % template in suminfo, True)

    # The major upgrade: older versions are removed, a newer one refuses.
    upgrade = sorted(tuple(row) for row in table(package, 'Upgrade'))
    check('%s Upgrade table' % label, upgrade, sorted([
        ('{%s}' % upgrade_code, '', version, '', '1', '', 'WIX_UPGRADE_DETECTED'),
        ('{%s}' % upgrade_code, version, '', '', '2', '', 'WIX_DOWNGRADE_DETECTED')]))
    conditions = {row[0] for row in table(package, 'LaunchCondition')}
    only = 'VersionNT64' if arch == 'x64' else 'NOT VersionNT64'
    check('%s launch conditions' % label, conditions, {'NOT WIX_DOWNGRADE_DETECTED', only})

    # Components: the program, and one per guard build in its own view.
    win64 = '256' if arch == 'x64' else '0'
    expected_components = {'Program': ('INSTALLDIR', win64, 'QuorvexRemover.exe'),
                           'Corvane32': ('INSTALLDIR32' if arch == 'x64' else 'INSTALLDIR', '0',
                                         'Corvane32.dll')}
    if arch == 'x64':
        expected_components['Corvane64'] = ('INSTALLDIR', '256', 'Corvane64.dll')
    components = {k: (v[1], v[2], v[4]) for k, v in keyed(package, 'Component').items()}
    check('%s components' % label, components, expected_components)
    files = {k: (v[0], v[1]) for k, v in keyed(package, 'File').items()}
    expected_files = {'QuorvexRemover.exe': ('Program', 'QuorvexRemover.exe'),
                      'Corvane32.dll': ('Corvane32', 'Corvane.dll')}
    if arch == 'x64':
        expected_files['Corvane64.dll'] = ('Corvane64', 'Corvane.dll')
    check('%s files' % label, files, expected_files)
    directories = {k: (v[0], v[1]) for k, v in keyed(package, 'Directory').items()}
    program_files = 'ProgramFiles64Folder' if arch == 'x64' else 'ProgramFilesFolder'
    check('%s install folder' % label, directories.get('INSTALLDIR'),
          (program_files, 'Quorvex Remover'))
    if arch == 'x64':
        check('%s 32-bit folder' % label, directories.get('INSTALLDIR32'),
              ('ProgramFilesFolder', 'Quorvex Remover'))

    expected_registry = {('2', 'SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\'
                          'Quorvex Remover', 'TypesSupported', '#7', 'Program')}
    for view, _ in views:
        expected_registry |= registration('Corvane' + view, 'Corvane%s.dll' % view)
    registry = {tuple(row[1:6]) for row in table(package, 'Registry')}
    check('%s registry entries' % label, registry, expected_registry)

    shortcuts = [tuple(row[1:5]) for row in table(package, 'Shortcut')]
    check('%s Start-menu shortcut' % label, shortcuts,
          [('ProgramMenuFolder', 'Quorvex Remover', 'Program', '[#QuorvexRemover.exe]')])

    # The IconHandler values: written after the Registry rows, restored
    # after they are removed, only where they still name the class.
    system = '[System64Folder]' if arch == 'x64' else '[SystemFolder]'
    expected_actions = {('FindRegExe', '2099', 'QR_REG_EXE', system + 'reg.exe')}
    for view, switch in views:
        expected_actions |= handler_actions(view, switch.strip())
    actions = {(row[0], row[1], row[2], row[3].rstrip()) for row in table(package, 'CustomAction')}
    check('%s custom actions' % label, actions,
          {(a, t, s, target.rstrip()) for a, t, s, target in expected_actions})
    sequence = {row[0]: (row[1], int(row[2])) for row in table(package, 'InstallExecuteSequence')}
    at = {name: number for name, (_, number) in sequence.items()}
    for view, _ in views:
        for short, kind in (('Lnk', 'LNK'), ('Pif', 'PIF')):
            set_action, restore = 'Set%sHandler%s' % (short, view), 'Restore%sHandler%s' % (short, view)
            check('%s %s condition' % (label, set_action), sequence[set_action][0],
                  'NOT REMOVE~="ALL"')
            check('%s %s condition' % (label, restore), sequence[restore][0],
                  'REMOVE~="ALL" AND QR_%s_HANDLER_%s~="%s"' % (kind, view, CLSID))
            check('%s %s runs after the Registry rows' % (label, set_action),
                  at['PublishProduct'] < at[set_action] < at['InstallFinalize'], True)
            check('%s %s runs after their removal' % (label, restore),
                  at['RemoveRegistryValues'] < at[restore] < at['InstallFinalize'], True)
            # Each rollback action just before the action it undoes.
            undo_set, undo_add = 'UndoSet%sHandler%s' % (short, view), 'UndoAdd%sHandler%s' % (short, view)
            undo_restore = 'UndoRestore%sHandler%s' % (short, view)
            previous = 'QR_%s_HANDLER_%s' % (kind, view)
            check('%s %s' % (label, undo_set), sequence[undo_set],
                  ('NOT REMOVE~="ALL" AND ' + previous, at[set_action] - 2))
            check('%s %s' % (label, undo_add), sequence[undo_add],
                  ('NOT REMOVE~="ALL" AND NOT ' + previous, at[set_action] - 1))
            check('%s %s' % (label, undo_restore), sequence[undo_restore],
                  (sequence[restore][0], at[restore] - 1))
    check('%s FindRegExe before the script' % label, at['FindRegExe'] < at['InstallInitialize'], True)
    check('%s the older product goes first' % label,
          at['InstallValidate'] < at['RemoveExistingProducts'] < at['InstallInitialize'], True)
    searches = {tuple(row) for row in table(package, 'RegLocator')}
    expected_searches = set()
    for view, _ in views:
        # Raw values; on a 64-bit system read in the 64-bit view, the
        # 32-bit view's through its own path (HKLM, root 2).
        root, prefix, bits = (('2', 'SOFTWARE\\Wow6432Node\\Classes\\', '18') if view == '32' and arch == 'x64'
                              else ('0', '', '18' if arch == 'x64' else '2'))
        for short, kind in (('Lnk', 'lnkfile'), ('Pif', 'piffile')):
            expected_searches.add(('%sHandler%s' % (short, view), root,
                                   prefix + kind + '\\ShellEx\\IconHandler', '', bits))
    check('%s IconHandler searches' % label, searches, expected_searches)
    return product_code


def same_registration_script(stage, pe_resources_dir):
    sys.path.insert(0, pe_resources_dir)
    import pe_resources
    scripts = []
    for view in ('64', '32'):
        with open(os.path.join(stage, view, 'Corvane.dll'), 'rb') as f:
            found = pe_resources.resources(f.read())
        scripts.append({k: v for k, v in found.items() if k[0] == 'REGISTRY' and k[1] == 101})
    check('a registration script in the 64-bit guard', len(scripts[0]), 1)
    check('the 32-bit guard registers as the 64-bit one',
          list(scripts[1].values()), list(scripts[0].values()))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--version', required=True)
    parser.add_argument('--help-link', required=True)
    parser.add_argument('--x64', nargs=2, required=True)
    parser.add_argument('--x86', nargs=2, required=True)
    parser.add_argument('--older', nargs=2, required=True)
    parser.add_argument('--pe-resources', required=True)
    args = parser.parse_args()

    current = check_package(args.x64[0], 'x64', args.version, args.x64[1], args.help_link)
    older = check_package(args.older[0], 'x64', args.older[1], args.x64[1], args.help_link)
    check_package(args.x86[0], 'x86', args.version, args.x86[1], args.help_link)
    check('each version its own product code', current != older, True)
    stage = os.path.join(os.path.dirname(args.x64[0]), 'stage', 'QuorvexRemover-x64')
    same_registration_script(stage, args.pe_resources)

    for failure in failures:
        print('FAIL: ' + failure)
    print('%d failure(s)' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
